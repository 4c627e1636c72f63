#include "host/FileListPane.h"

#include <BrwsFileTime.h>
#include <BrwsPathUtil.h>

#include "module/Holders.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

namespace {

enum EColumn
{
    eColumnName,
    eColumnSize,
    eColumnModified,
};

CString JoinPath(const CString& strFolder, const CString& strName)
{
    CString strPath(strFolder);
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] != L'\\')
        strPath += L'\\';
    return strPath + strName;
}

CString FormatSize(DWORD dwSize)
{
    // The library reports a file it could not open as 0xFFFFFFFF.
    if (dwSize == 0xFFFFFFFF)
        return CString();
    wchar_t text[64] = {};
    ::StrFormatByteSizeW(dwSize, text, ARRAYSIZE(text));
    return CString(text);
}

CString FormatTime(const FILETIME& ftUtc)
{
    if (ftUtc.dwLowDateTime == 0 && ftUtc.dwHighDateTime == 0)
        return CString();
    FILETIME ftLocal;
    SYSTEMTIME st;
    if (!::FileTimeToLocalFileTime(&ftUtc, &ftLocal) || !::FileTimeToSystemTime(&ftLocal, &st))
        return CString();
    wchar_t date[64] = {};
    wchar_t time[64] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, ARRAYSIZE(date));
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, time, ARRAYSIZE(time));
    CString text(date);
    text += L"  ";
    text += time;
    return text;
}

// The system's small icon for a file name, found from its extension alone so
// that the file is not opened.
int IconIndex(const CString& strName)
{
    SHFILEINFOW info = {};
    ::SHGetFileInfoW(strName, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    return info.iIcon;
}

bool ContainsNoCase(const CStringList& names, const CString& strName)
{
    for (POSITION pos = names.GetHeadPosition(); pos != nullptr;)
    {
        if (names.GetNext(pos).CompareNoCase(strName) == 0)
            return true;
    }
    return false;
}

} // namespace

CFileListPane::CFileListPane() = default;
CFileListPane::~CFileListPane() = default;

bool CFileListPane::Create(CWnd* pParent, const CRect& rect, UINT nID)
{
    // The image list is the system's, shared by every process: the list must
    // not destroy it.
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                          LVS_EDITLABELS | LVS_SHAREIMAGELISTS;
    if (!m_wndList.CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, dwStyle, rect, pParent, nID))
        return false;
    HWND hList = m_wndList.GetSafeHwnd();
    ListView_SetExtendedListViewStyle(hList, LVS_EX_FULLROWSELECT);

    SHFILEINFOW info = {};
    auto hImages = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(
        L".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    ListView_SetImageList(hList, hImages, LVSIL_SMALL);

    struct ColumnSpec
    {
        const wchar_t* pszTitle;
        int cx;
        int fmt;
    };
    const ColumnSpec columns[] = {
        {L"Name", 260, LVCFMT_LEFT},
        {L"Size", 90, LVCFMT_RIGHT},
        {L"Modified", 150, LVCFMT_LEFT},
    };
    for (int i = 0; i < static_cast<int>(ARRAYSIZE(columns)); ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.pszText = const_cast<LPWSTR>(columns[i].pszTitle);
        column.cx = columns[i].cx;
        column.fmt = columns[i].fmt;
        column.iSubItem = i;
        ListView_InsertColumn(hList, i, &column);
    }
    return true;
}

void CFileListPane::ShowFolder(const CString& strFolder, const CString& strFilter)
{
    m_strFolder = strFolder;
    m_strFilter = strFilter;
    Fill(CStringList());
}

void CFileListPane::SetFilter(const CString& strFilter)
{
    m_strFilter = strFilter;
    Refresh();
}

void CFileListPane::Refresh(const CStringList* pSelectNames)
{
    CStringList selected;
    if (pSelectNames != nullptr)
    {
        for (POSITION pos = pSelectNames->GetHeadPosition(); pos != nullptr;)
            selected.AddTail(pSelectNames->GetNext(pos));
    }
    else
    {
        CBFileList files;
        GetSelectedFiles(files);
        for (POSITION pos = files.GetHeadPosition(); pos != nullptr;)
            selected.AddTail(files.GetNext(pos)->m_strName);
    }
    Fill(selected);
}

void CFileListPane::Fill(const CStringList& selectNames)
{
    HWND hList = m_wndList.GetSafeHwnd();
    ListView_DeleteAllItems(hList);
    m_files.clear();
    if (m_strFolder.IsEmpty())
        return;

    WIN32_FIND_DATAW data;
    CScopedFindHandle find(::FindFirstFileExW(JoinPath(m_strFolder, L"*"), FindExInfoBasic, &data,
                                              FindExSearchNameMatch, nullptr, 0));
    if (!find.IsValid())
        return;
    do
    {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        if (!DoesFileNameMatchFilter(data.cFileName, m_strFilter, FALSE))
            continue;
        // Size and times as the library reads them, so that the list shows
        // what the file operations will see.
        const CString strPath = JoinPath(m_strFolder, data.cFileName);
        FILETIME ftCreated = {};
        FILETIME ftModified = {};
        GetTimeStamps(strPath, &ftCreated, &ftModified);
        m_files.emplace_back(CreateShellFile(data.cFileName, strPath, &ftCreated, &ftModified,
                                             data.dwFileAttributes, ::GetFileSize(strPath)));
    } while (::FindNextFileW(find.Get(), &data));

    std::sort(m_files.begin(), m_files.end(), [](const std::unique_ptr<CBFile>& a, const std::unique_ptr<CBFile>& b) {
        return ::StrCmpLogicalW(a->m_strName, b->m_strName) < 0;
    });

    ::SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemCount(hList, static_cast<int>(m_files.size()));
    for (size_t i = 0; i < m_files.size(); ++i)
    {
        const CBFile& file = *m_files[i];
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(file.m_strName));
        item.iImage = IconIndex(file.m_strName);
        item.lParam = static_cast<LPARAM>(i);
        const int nItem = ListView_InsertItem(hList, &item);
        CString strSize = FormatSize(file.m_dwSize);
        CString strTime = FormatTime(file.m_ftLastWrite);
        ListView_SetItemText(hList, nItem, eColumnSize, const_cast<LPWSTR>(static_cast<LPCWSTR>(strSize)));
        ListView_SetItemText(hList, nItem, eColumnModified, const_cast<LPWSTR>(static_cast<LPCWSTR>(strTime)));
    }
    ::SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
    SelectNames(selectNames);
}

void CFileListPane::GetSelectedFiles(CBFileList& files) const
{
    HWND hList = m_wndList.GetSafeHwnd();
    for (int nItem = ListView_GetNextItem(hList, -1, LVNI_SELECTED); nItem >= 0;
         nItem = ListView_GetNextItem(hList, nItem, LVNI_SELECTED))
    {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        if (ListView_GetItem(hList, &item))
        {
            if (CBFile* pFile = FileOfItem(item.lParam))
                files.AddTail(pFile);
        }
    }
}

CBFile* CFileListPane::FileOfItem(LPARAM lParam) const
{
    if (lParam < 0 || static_cast<size_t>(lParam) >= m_files.size())
        return nullptr;
    return m_files[static_cast<size_t>(lParam)].get();
}

void CFileListPane::SelectNames(const CStringList& names)
{
    HWND hList = m_wndList.GetSafeHwnd();
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    bool bFocused = false;
    for (size_t i = 0; i < m_files.size(); ++i)
    {
        if (!ContainsNoCase(names, m_files[i]->m_strName))
            continue;
        const int nItem = static_cast<int>(i);
        const UINT state = bFocused ? LVIS_SELECTED : LVIS_SELECTED | LVIS_FOCUSED;
        ListView_SetItemState(hList, nItem, state, LVIS_SELECTED | LVIS_FOCUSED);
        if (!bFocused)
            ListView_EnsureVisible(hList, nItem, FALSE);
        bFocused = true;
    }
}

bool CFileListPane::BeginRename()
{
    HWND hList = m_wndList.GetSafeHwnd();
    int nItem = ListView_GetNextItem(hList, -1, LVNI_FOCUSED | LVNI_SELECTED);
    if (nItem < 0)
        nItem = ListView_GetNextItem(hList, -1, LVNI_SELECTED);
    if (nItem < 0)
        return false;
    ::SetFocus(hList);
    return ListView_EditLabel(hList, nItem) != nullptr;
}
