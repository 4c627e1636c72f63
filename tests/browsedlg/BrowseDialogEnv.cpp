#include "BrowseDialogEnv.h"

#include <TarkLanguage.h>
#include <commctrl.h>
#include <ole2.h>

#include "BrwsDriveTree.h"

namespace browsedlg_test {

const wchar_t* const kProfileKey = L"Software\\TarkBrowseDlgTests\\BrowseDlgTests";

namespace {

CWinApp theApp(L"BrowseDlgTests");

class BrowseDialogEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        theApp.SetRegistryKey(L"TarkBrowseDlgTests");
        CConnectLanguage& language = CConnectLanguage::Instance();
        language.SetPath(testing_support::BinaryFolder().c_str());
        language.SetAltPath(L"");
        ASSERT_GE(language.CallStoredCallbacks(L"English"), 1);
        CString text;
        ASSERT_TRUE(text.LoadString(IDS_BRWS_FOLDER_PROMPT)) << "language module not linked";
    }
    void TearDown() override
    {
        ClearProfile();
        OleUninitialize();
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new BrowseDialogEnvironment);

std::wstring SectionKey(const std::wstring& section)
{
    return std::wstring(kProfileKey) + L"\\" + section;
}

BOOL CALLBACK FindMenuWindow(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (lstrcmpW(szClass, L"#32768") == 0 && IsWindowVisible(hWnd))
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND MenuWindow()
{
    HWND hFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&hFound));
    if (!hFound)
        hFound = FindWindowW(L"#32768", nullptr);
    return hFound;
}

} // namespace

std::wstring ProfileString(const std::wstring& section, const std::wstring& entry)
{
    wchar_t buffer[4096] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, SectionKey(section).c_str(), entry.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

void SetProfileString(const std::wstring& section, const std::wstring& entry, const std::wstring& value)
{
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_CURRENT_USER, SectionKey(section).c_str(), entry.c_str(), REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

std::vector<BYTE> ProfileBinary(const std::wstring& section, const std::wstring& entry)
{
    BYTE buffer[256] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, SectionKey(section).c_str(), entry.c_str(), RRF_RT_REG_BINARY, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return {};
    return std::vector<BYTE>(buffer, buffer + size);
}

void SetProfileBinary(const std::wstring& section, const std::wstring& entry, const void* data, DWORD size)
{
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_CURRENT_USER, SectionKey(section).c_str(), entry.c_str(), REG_BINARY, data, size));
}

void ClearProfile()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarkBrowseDlgTests");
}

HWND Tree(HWND hDlg)
{
    return GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE);
}

std::wstring Field(HWND hDlg)
{
    return testing_support::DialogDriver::ItemText(hDlg, IDC_BRWS_FOLDER_FIELD);
}

bool Enabled(HWND hDlg, int id)
{
    return IsWindowEnabled(GetDlgItem(hDlg, id)) != FALSE;
}

std::wstring TreeItemText(HWND hTree, HTREEITEM hItem)
{
    // A folder name has at most 255 characters.
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH;
    if (!SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return L"<no item>";
    return buffer;
}

HTREEITEM TreeSelection(HWND hTree)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::wstring TreeItemPath(HWND hTree, HTREEITEM hItem)
{
    TVITEMW item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    if (!SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam)
        return L"<no data>";
    const CDriveTreeItemData* pData = reinterpret_cast<const CDriveTreeItemData*>(item.lParam);
    return pData->m_pFolder ? std::wstring(static_cast<LPCWSTR>(pData->m_pFolder->m_strPath)) : L"<no folder>";
}

std::vector<std::wstring> ComboEntries(HWND hCombo)
{
    std::vector<std::wstring> entries;
    int count = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        // Entries are paths of any length.
        std::wstring entry(static_cast<size_t>(SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
        entry.resize(wcslen(entry.c_str()));
        entries.push_back(entry);
    }
    return entries;
}

HMENU OpenPopupMenu()
{
    HWND hMenuWnd = MenuWindow();
    return hMenuWnd ? reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0)) : nullptr;
}

std::vector<MenuItem> MenuItems(HMENU hMenu)
{
    std::vector<MenuItem> items;
    int count = GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i)
    {
        wchar_t buffer[MAX_PATH] = {};
        GetMenuStringW(hMenu, static_cast<UINT>(i), buffer, MAX_PATH, MF_BYPOSITION);
        UINT state = GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        // A separator of an extended template may carry a command of its own.
        MENUITEMINFOW info = {sizeof(info)};
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &info);
        UINT command = (info.fType & MFT_SEPARATOR) ? 0 : GetMenuItemID(hMenu, i);
        items.push_back({command, buffer, (state & MF_GRAYED) != 0});
    }
    return items;
}

void ChooseMenuCommand(UINT command)
{
    HWND hMenuWnd = MenuWindow();
    ASSERT_NE(nullptr, hMenuWnd) << "no menu open";
    HMENU hMenu = reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0));
    int downs = 0;
    bool found = false;
    for (int i = 0; i < GetMenuItemCount(hMenu) && !found; ++i)
    {
        if (GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        ++downs;
        found = GetMenuItemID(hMenu, i) == command;
    }
    ASSERT_TRUE(found) << "no command " << command << " in the menu";
    for (int i = 0; i < downs; ++i)
        testing_support::DialogDriver::PostKey(hMenuWnd, VK_DOWN);
    testing_support::DialogDriver::PostKey(hMenuWnd, VK_RETURN);
}

bool SamePath(std::wstring a, std::wstring b)
{
    if (!a.empty() && a.back() == L'\\')
        a.pop_back();
    if (!b.empty() && b.back() == L'\\')
        b.pop_back();
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

std::wstring MakeFolders(const testing_support::ScratchFolder& root, const std::wstring& relative)
{
    std::wstring path = root.Path();
    size_t start = 0;
    while (start <= relative.size())
    {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        path += L"\\" + relative.substr(start, end - start);
        CreateDirectoryW(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace browsedlg_test
