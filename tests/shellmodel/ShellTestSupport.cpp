#include "ShellTestSupport.h"

#include <string.h>

namespace shellmodel_test {

const wchar_t* const kNonAnsiNames[3] = {L"日本語のフォルダ", L"Ελληνικός φάκελος",
                                         L"emoji \U0001F4C1\U0001F600"};
const wchar_t kDocumentsItem[] = L"::{450d8fba-ad25-11d0-98a8-0800361b1103}";

void ShellModelTest::SetUpTestSuite()
{
    static bool bWarm = false;
    if (bWarm)
        return;
    bWarm = true;
    CoInitialize(nullptr); // as in the host
    ScratchFolder scratch(L"warm");
    FolderPtr desktop(CreateShellDesktop(nullptr));
    FolderPtr folder(CreateShellFolder(nullptr, scratch.Path().c_str()));
    FolderPtr special(CreateSpecialShellFolder(nullptr, (DocumentsPath() + L"\\x").c_str()));
    GetShellIconIndex(ListOf(desktop), 0);
    SHFILEINFOW info = {};
    SHGetFileInfoW(scratch.Path().c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX);
    TaskMemSpy::Instance();
}

CShellFolderHolder Desktop()
{
    CShellFolderHolder desktop;
    EXPECT_HRESULT_SUCCEEDED(SHGetDesktopFolder(desktop.Receive()));
    return desktop;
}

LPITEMIDLIST Parse(IShellFolder* pFolder, const std::wstring& name)
{
    LPITEMIDLIST pidl = nullptr;
    std::wstring text = name;
    ULONG cchEaten = 0;
    pFolder->ParseDisplayName(nullptr, nullptr, &text[0], &cchEaten, &pidl, nullptr);
    return pidl;
}

LPITEMIDLIST ShellParse(const std::wstring& name)
{
    return Parse(Desktop().Get(), name);
}

LPITEMIDLIST SpecialList(int csidl)
{
    LPITEMIDLIST pidl = nullptr;
    EXPECT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl));
    return pidl;
}

LPITEMIDLIST ShellPrefix(LPCITEMIDLIST pidl, int nDrop)
{
    LPITEMIDLIST prefix = ILClone(pidl);
    while (nDrop-- > 0)
        ILRemoveLastID(prefix);
    return prefix;
}

std::wstring DocumentsPath()
{
    wchar_t path[MAX_PATH] = {};
    EXPECT_HRESULT_SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, path));
    return path;
}

std::wstring ShellPath(LPCITEMIDLIST pidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetPathFromIDListW(pidl, path);
    return path;
}

void MakeFolders(const std::wstring& path)
{
    const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS) << Narrow(path);
}

void MakeFile(const std::wstring& path)
{
    CScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file.IsValid()) << Narrow(path);
}

std::string Utf8(const CString& text)
{
    return Narrow(std::wstring(text.GetString(), text.GetLength()));
}

bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return a && b && ILGetSize(a) == ILGetSize(b) && memcmp(a, b, ILGetSize(a)) == 0;
}

ULONG Refs(IUnknown* p)
{
    p->AddRef();
    return p->Release();
}

LPITEMIDLIST ListOf(const FolderPtr& folder)
{
    return folder && folder->GetShellData() ? folder->GetShellData()->m_pidlFull : nullptr;
}

} // namespace shellmodel_test
