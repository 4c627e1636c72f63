// The controller's mirror of the tree (CTreeItemNode) and the index that
// matches a folder's children against a new listing of it (CChildIndex).
#include "drivetree/DriveTreePrivate.h"

#include "BrwsIDList.h"

#include <algorithm>

// ---- CTreeItemNode ----------------------------------------------------------------

const std::vector<CTreeItemNode*>& CTreeItemNode::Children()
{
    if (m_nHoles)
        CloseHoles();
    return m_children;
}

void CTreeItemNode::CloseHoles()
{
    size_t nKept = 0;
    for (CTreeItemNode* pChild : m_children)
    {
        if (!pChild)
            continue;
        pChild->m_nSlot = nKept;
        m_children[nKept++] = pChild;
    }
    m_children.resize(nKept);
    m_nHoles = 0;
}

void CTreeItemNode::Adopt(CTreeItemNode* pChild, size_t nAt)
{
    if (m_nHoles)
        CloseHoles();
    nAt = std::min(nAt, m_children.size());
    m_children.insert(m_children.begin() + static_cast<ptrdiff_t>(nAt), pChild);
    for (size_t i = nAt; i < m_children.size(); ++i)
        m_children[i]->m_nSlot = i;
    pChild->m_pParentNode = this;
}

void CTreeItemNode::SetChildren(std::vector<CTreeItemNode*> children)
{
    m_children = std::move(children);
    m_nHoles = 0;
    for (size_t i = 0; i < m_children.size(); ++i)
    {
        m_children[i]->m_nSlot = i;
        m_children[i]->m_pParentNode = this;
    }
}

void CTreeItemNode::Unlink() noexcept
{
    if (m_pParentNode && m_nSlot < m_pParentNode->m_children.size() &&
        m_pParentNode->m_children[m_nSlot] == this)
    {
        m_pParentNode->m_children[m_nSlot] = nullptr;
        ++m_pParentNode->m_nHoles;
    }
    m_pParentNode = nullptr;
    for (CTreeItemNode* pChild : m_children)
        if (pChild)
            pChild->m_pParentNode = nullptr;
    m_children.clear();
    m_nHoles = 0;
}

bool CTreeItemNode::IsWithin(const CTreeItemNode* pAncestor) const noexcept
{
    for (const CTreeItemNode* p = this; p; p = p->m_pParentNode)
        if (p == pAncestor)
            return true;
    return false;
}

const std::wstring& CTreeItemNode::MatchKey()
{
    if (!m_bMatchKeyKnown)
    {
        const CBShellData* pShell = Shell();
        if (pShell && pShell->m_pParentFolder)
            m_matchKey = CChildIndex::KeyOf(pShell->m_pParentFolder, pShell->m_pidlRelative);
        m_bMatchKeyKnown = true;
    }
    return m_matchKey;
}

// ---- CChildIndex ------------------------------------------------------------------

std::wstring CChildIndex::KeyOf(IShellFolder* pFolder, LPCITEMIDLIST relative)
{
    WIN32_FIND_DATAW data;
    if (GetFileSystemFolderData(pFolder, relative, data))
        return KeyOf(data.cFileName);
    return KeyOf(GetNameOf(pFolder, relative, SHGDN_INFOLDER | SHGDN_FORPARSING).GetString());
}

std::wstring CChildIndex::KeyOf(const wchar_t* pszName)
{
    std::wstring key(pszName);
    if (!key.empty())
        ::CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

CChildIndex::CChildIndex(const std::vector<CTreeItemNode*>& children)
{
    m_byKey.reserve(children.size());
    for (CTreeItemNode* pChild : children)
        Add(pChild);
}

void CChildIndex::Add(CTreeItemNode* pChild)
{
    const std::wstring& key = pChild->MatchKey();
    if (key.empty())
        m_unnamed.push_back(pChild);
    else
        m_byKey.emplace(key, pChild);
    m_untaken.insert(pChild);
}

// Only the untaken set forgets: IsSame never accepts a child outside it.
void CChildIndex::Forget(const CTreeItemNode* pChild)
{
    m_untaken.erase(pChild);
}

bool CChildIndex::IsSame(IShellFolder* pFolder, LPCITEMIDLIST relative, CTreeItemNode* pChild) const
{
    // A child taken or forgotten (maybe deleted) is not looked at again.
    if (!m_untaken.count(pChild))
        return false;
    const CBShellData* pShell = pChild->Shell();
    // The child's own parent interface is the authority on its identifiers.
    IShellFolder* pJudge = pShell && pShell->m_pParentFolder ? pShell->m_pParentFolder : pFolder;
    return pShell && CompareIDLists(0, pJudge, pShell->m_pidlRelative, relative) == 0;
}

CTreeItemNode* CChildIndex::Take(IShellFolder* pFolder, LPCITEMIDLIST relative, const std::wstring& key)
{
    CTreeItemNode* pFound = nullptr;
    if (!key.empty())
    {
        auto range = m_byKey.equal_range(key);
        for (auto it = range.first; it != range.second && !pFound; ++it)
            if (IsSame(pFolder, relative, it->second))
                pFound = it->second;
    }
    // A child without a name may be any listed item; a listed item without
    // one may be any child.
    for (size_t i = 0; i < m_unnamed.size() && !pFound; ++i)
        if (IsSame(pFolder, relative, m_unnamed[i]))
            pFound = m_unnamed[i];
    if (key.empty())
        for (auto it = m_untaken.begin(); it != m_untaken.end() && !pFound; ++it)
            if (IsSame(pFolder, relative, const_cast<CTreeItemNode*>(*it)))
                pFound = const_cast<CTreeItemNode*>(*it);
    if (pFound)
        m_untaken.erase(pFound);
    return pFound;
}
