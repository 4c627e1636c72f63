// Filling the tree: which folders appear, in which order, with which texts,
// icons, buttons, folders and paths, and when the shell is asked again.
#include "TreeHost.h"

#include "RegistryScope.h"
#include "shellmodel/ShellHolders.h"

#include <algorithm>

namespace drivetree_test {
namespace {

struct CShellChild
{
    std::wstring name;
    SFGAOF attributes;
};

// The desktop's folders as the shell lists them, in its own order (sorted
// with CompareIDs), links left out, with the attributes the tree looks at.
std::vector<CShellChild> DesktopFolders()
{
    CShellFolderHolder desktop;
    EXPECT_HRESULT_SUCCEEDED(SHGetDesktopFolder(desktop.Receive()));
    CComHolder<IEnumIDList> items;
    EXPECT_EQ(S_OK, desktop->EnumObjects(nullptr, SHCONTF_FOLDERS, items.Receive()));
    std::vector<LPITEMIDLIST> ids;
    LPITEMIDLIST id = nullptr;
    while (items->Next(1, &id, nullptr) == S_OK)
        ids.push_back(id);
    std::stable_sort(ids.begin(), ids.end(), [&](LPITEMIDLIST a, LPITEMIDLIST b) {
        return static_cast<short>(HRESULT_CODE(desktop->CompareIDs(0, a, b))) < 0;
    });
    std::vector<CShellChild> children;
    for (LPITEMIDLIST pidl : ids)
    {
        LPCITEMIDLIST one = pidl;
        SFGAOF attributes = SFGAO_LINK | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
        desktop->GetAttributesOf(1, &one, &attributes);
        if (!(attributes & SFGAO_LINK))
            children.push_back({std::wstring(GetNameOf(desktop.Get(), pidl, SHGDN_INFOLDER).GetString()), attributes});
        CoTaskMemFree(pidl);
    }
    return children;
}

TEST_F(DriveTreeTest, InitializeShowsTheDesktopExpandedWithItsFoldersInShellOrder)
{
    const std::vector<CShellChild> shell = DesktopFolders();
    std::vector<std::wstring> all, fileSystem;
    for (const CShellChild& child : shell)
    {
        all.push_back(child.name);
        if (child.attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))
            fileSystem.push_back(child.name);
    }
    ASSERT_FALSE(all.empty());
    {
        CTreeHost host(1);
        HTREEITEM hRoot = host.Controller().m_hShellRoot;
        ASSERT_NE(nullptr, hRoot);
        EXPECT_EQ(hRoot, host.Tree().GetRootItem());
        EXPECT_EQ(nullptr, host.Tree().GetNextSiblingItem(hRoot));
        EXPECT_TRUE(host.Tree().GetItemState(hRoot, TVIS_EXPANDED) & TVIS_EXPANDED);
        EXPECT_TRUE(IsShellDesktop(host.Controller().GetItemFolder(hRoot)));
        EXPECT_EQ(all, host.ChildTexts(hRoot));
    }
    // Without all folders: only the file system and its ancestors (the shell
    // here lists virtual folders such as the trash beside them).
    CTreeHost host(0);
    EXPECT_EQ(fileSystem, host.ChildTexts(host.Controller().m_hShellRoot));
    EXPECT_LT(fileSystem.size(), all.size());
}

TEST_F(DriveTreeTest, ChildrenCarryTheShellsNamesPathsIconsAndButtonsInItsOrder)
{
    ScratchFolder scratch(L"order");
    // Case decides the listing order but not the shell's: "B" before "a" on disk.
    for (const wchar_t* name : {L"B", L"a", L"c d", L"A2", L"empty"})
        MakeFolder(scratch / name);
    MakeFolder(scratch / L"a\\inner");
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    ASSERT_TRUE(host.Tree().Expand(hFolder, TVE_EXPAND));

    EXPECT_EQ((std::vector<std::wstring>{L"a", L"A2", L"B", L"c d", L"empty"}), host.ChildTexts(hFolder));
    for (HTREEITEM hChild : host.Children(hFolder))
    {
        const CBFolder* pFolder = host.Controller().GetItemFolder(hChild);
        ASSERT_NE(nullptr, pFolder);
        const CBShellData* pShell = pFolder->GetShellData();
        EXPECT_EQ(scratch / host.Text(hChild), std::wstring(pFolder->m_strPath.GetString()));
        EXPECT_EQ(ShellPath(pShell->m_pidlFull), std::wstring(pFolder->m_strPath.GetString()));
        EXPECT_EQ(host.Text(hChild), std::wstring(pFolder->m_strName.GetString()));
        int nImage = -1, nSelected = -1;
        ASSERT_TRUE(host.Tree().GetItemImage(hChild, nImage, nSelected));
        EXPECT_EQ(GetShellIconIndex(pShell->m_pidlFull, SHGFI_SMALLICON), nImage);
        EXPECT_EQ(GetShellIconIndex(pShell->m_pidlFull, SHGFI_SMALLICON | SHGFI_OPENICON), nSelected);
        LPCITEMIDLIST relative = pShell->m_pidlRelative;
        SFGAOF attributes = SFGAO_HASSUBFOLDER;
        ASSERT_HRESULT_SUCCEEDED(pShell->m_pParentFolder->GetAttributesOf(1, &relative, &attributes));
        EXPECT_EQ((attributes & SFGAO_HASSUBFOLDER) != 0, host.HasButton(hChild));
    }
    // A folder that turns out empty loses its button; one with a single
    // subfolder keeps it (the tree reports a failed sort for both).
    HTREEITEM hEmpty = host.ChildNamed(hFolder, L"empty");
    HTREEITEM hOne = host.ChildNamed(hFolder, L"a");
    host.Tree().Expand(hEmpty, TVE_EXPAND);
    host.Tree().Expand(hOne, TVE_EXPAND);
    EXPECT_FALSE(host.HasButton(hEmpty));
    EXPECT_TRUE(host.HasButton(hOne));
    EXPECT_EQ(std::vector<std::wstring>{L"inner"}, host.ChildTexts(hOne));
}

TEST_F(DriveTreeTest, IconsAreLookedUpOnlyForTheItemsTheTreeAsksAbout)
{
    ScratchFolder scratch(L"icons");
    for (int i = 0; i < 120; ++i)
        MakeFolder(scratch / (L"f" + std::to_wstring(1000 + i)));
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().SelectSetFirstVisible(hFolder);
    host.Tree().Expand(hFolder, TVE_EXPAND);
    host.m_dispInfoItems.clear();
    RedrawWindow(host.Tree().m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<HTREEITEM> children = host.Children(hFolder);
    ASSERT_EQ(120u, children.size());
    EXPECT_TRUE(host.m_dispInfoItems.count(children.front()));
    EXPECT_FALSE(host.m_dispInfoItems.count(children.back()));
    EXPECT_LE(host.m_dispInfoItems.size(), host.Tree().GetVisibleCount() + 1);

    // A host that does not route the notification still gets every icon.
    CTreeHost plain(1, false);
    HTREEITEM hPlain = plain.Open(scratch.Path());
    plain.Tree().Expand(hPlain, TVE_EXPAND);
    HTREEITEM hLast = plain.Children(hPlain).back();
    const CBShellData* pShell = plain.Controller().GetItemFolder(hLast)->GetShellData();
    int nImage = -1, nSelected = -1;
    plain.Tree().GetItemImage(hLast, nImage, nSelected);
    EXPECT_EQ(GetShellIconIndex(pShell->m_pidlFull, SHGFI_SMALLICON), nImage);
    EXPECT_EQ(GetShellIconIndex(pShell->m_pidlFull, SHGFI_SMALLICON | SHGFI_OPENICON), nSelected);
}

// A shell folder that answers as the real one it wraps, except that the item
// named "link" says it is a shortcut and the item named "broken" has no
// attributes to give: Wine's own folders report neither for a subfolder.
class CDecoratedFolder : public IShellFolder
{
public:
    explicit CDecoratedFolder(IShellFolder* pInner) : m_inner(CComHolder<IShellFolder>::Share(pInner)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = (riid == IID_IUnknown || riid == IID_IShellFolder) ? static_cast<IShellFolder*>(this) : nullptr;
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG nRefs = --m_nRefs;
        if (!nRefs)
            delete this;
        return nRefs;
    }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND hwnd, IBindCtx* pbc, LPWSTR name, ULONG* pchEaten,
                                               PIDLIST_RELATIVE* ppidl, ULONG* pdwAttributes) override
    {
        return m_inner->ParseDisplayName(hwnd, pbc, name, pchEaten, ppidl, pdwAttributes);
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND hwnd, SHCONTF flags, IEnumIDList** ppEnum) override
    {
        return m_inner->EnumObjects(hwnd, flags, ppEnum);
    }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE pidl, IBindCtx* pbc, REFIID riid, void** ppv) override
    {
        CShellFolderHolder child;
        HRESULT hr = m_inner->BindToObject(pidl, pbc, IID_IShellFolder, child.ReceiveVoid());
        if (FAILED(hr))
            return hr;
        CComHolder<IShellFolder> wrapped(new CDecoratedFolder(child.Get()));
        return wrapped->QueryInterface(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE pidl, IBindCtx* pbc, REFIID riid, void** ppv) override
    {
        return m_inner->BindToStorage(pidl, pbc, riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override
    {
        return m_inner->CompareIDs(lParam, a, b);
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND hwnd, REFIID riid, void** ppv) override
    {
        return m_inner->CreateViewObject(hwnd, riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, PCUITEMID_CHILD_ARRAY apidl, SFGAOF* pAttributes) override
    {
        const CString strName = cidl == 1 ? GetNameOf(m_inner.Get(), apidl[0], SHGDN_INFOLDER) : CString();
        if (strName == L"broken")
            return E_FAIL;
        HRESULT hr = m_inner->GetAttributesOf(cidl, apidl, pAttributes);
        if (strName == L"link")
            *pAttributes |= SFGAO_LINK;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND hwnd, UINT cidl, PCUITEMID_CHILD_ARRAY apidl, REFIID riid,
                                            UINT* pReserved, void** ppv) override
    {
        return m_inner->GetUIObjectOf(hwnd, cidl, apidl, riid, pReserved, ppv);
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags, STRRET* pName) override
    {
        return m_inner->GetDisplayNameOf(pidl, flags, pName);
    }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND hwnd, PCUITEMID_CHILD pidl, LPCWSTR name, SHGDNF flags,
                                        PITEMID_CHILD* ppidlOut) override
    {
        return m_inner->SetNameOf(hwnd, pidl, name, flags, ppidlOut);
    }

private:
    virtual ~CDecoratedFolder() = default;
    CComHolder<IShellFolder> m_inner;
    ULONG m_nRefs = 1;
};

TEST_F(DriveTreeTest, ShortcutsAndItemsWithoutAttributesNeverAppear)
{
    ScratchFolder scratch(L"links");
    for (const wchar_t* name : {L"plain", L"link", L"broken"})
        MakeFolder(scratch / name);
    {
        CComHolder<IShellLinkW> link;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                  link.ReceiveVoid()));
        link->SetPath((scratch / L"plain").c_str());
        CComHolder<IPersistFile> file;
        ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()));
        ASSERT_HRESULT_SUCCEEDED(file->Save((scratch / L"to plain.lnk").c_str(), TRUE));
    }
    CTreeHost host;
    // The scratch folder's item, its parent reached through the decorated shell.
    CIDListHolder full(GetFullIDList(host.Window(), scratch.Path().c_str()));
    CIDListHolder parentList(CreateParentIDList(full.Get()));
    CShellFolderHolder desktop;
    ASSERT_HRESULT_SUCCEEDED(SHGetDesktopFolder(desktop.Receive()));
    CShellFolderHolder realParent;
    ASSERT_HRESULT_SUCCEEDED(desktop->BindToObject(parentList.Get(), nullptr, IID_IShellFolder, realParent.ReceiveVoid()));
    CShellFolderHolder parent(new CDecoratedFolder(realParent.Get()));
    std::unique_ptr<CBFolder> folder(CreateShellFolder(host.Window(), parent.Get(), full.Get(), true));
    ASSERT_NE(nullptr, folder);
    parent.Detach();
    full.Detach();
    HTREEITEM hFolder = host.Controller().AddShellFolder(host.Controller().m_hShellRoot, folder.get());
    ASSERT_NE(nullptr, hFolder);
    folder.release();

    host.Tree().Expand(hFolder, TVE_EXPAND);
    EXPECT_EQ(std::vector<std::wstring>{L"plain"}, host.ChildTexts(hFolder));
}

TEST_F(DriveTreeTest, HiddenFoldersAppearOnlyWhileHiddenFilesAreShown)
{
    ScratchFolder scratch(L"hidden");
    MakeFolder(scratch / L"plain");
    MakeFolder(scratch / L"hidden");
    SetFileAttributesW((scratch / L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    testing_support::ScopedRegistryValue hidden(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                                                L"Hidden");
    ASSERT_TRUE(hidden.SetDword(2));
    CTreeHost host;
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().Expand(hFolder, TVE_EXPAND);
    EXPECT_EQ(std::vector<std::wstring>{L"plain"}, host.ChildTexts(hFolder));

    // The setting is read at every population: a collapse fills again.
    ASSERT_TRUE(hidden.SetDword(1));
    host.UserCollapse(hFolder);
    EXPECT_EQ((std::vector<std::wstring>{L"hidden", L"plain"}), host.ChildTexts(hFolder));
}

TEST_F(DriveTreeTest, ExpandingEnumeratesOnceAndCollapsingEnumeratesAgain)
{
    ScratchFolder scratch(L"expand");
    MakeFolder(scratch / L"one");
    CTreeHost host;
    host.m_bRouteChanges = false; // only expansion may fill the folder here
    HTREEITEM hFolder = host.Open(scratch.Path());
    host.Tree().EnsureVisible(hFolder); // opens (fills) its ancestors
    const int nBefore = Populations();
    host.Tree().Expand(hFolder, TVE_EXPAND);
    EXPECT_EQ(nBefore + 1, Populations());

    MakeFolder(scratch / L"two");
    host.UserCollapse(hFolder);
    host.UserExpand(hFolder); // notified, but the folder was filled once already
    EXPECT_EQ(nBefore + 2, Populations());
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), host.ChildTexts(hFolder));

    // A folder gone from disk stays until a refreshing population.
    ASSERT_TRUE(RemoveDirectoryW((scratch / L"one").c_str()));
    host.UserCollapse(hFolder);
    EXPECT_EQ(2u, host.Children(hFolder).size());
    host.Controller().PopulateShellFolder(hFolder, 1);
    EXPECT_EQ(std::vector<std::wstring>{L"two"}, host.ChildTexts(hFolder));
}

} // namespace
} // namespace drivetree_test
