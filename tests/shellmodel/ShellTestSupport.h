// Shared pieces of the shell-model tests: the leak-checked fixture and helpers
// that ask shell32 itself for lists, paths and reference counts.
#pragma once

#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "MallocSpy.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <string.h>

#include <memory>
#include <string>

namespace shellmodel_test {

using testing_support::Narrow;
using testing_support::ScratchFolder;
using testing_support::TaskMemSpy;
typedef std::unique_ptr<CBFolder> FolderPtr;

// Names outside any Western ANSI code page.
inline const wchar_t* const kNonAnsiNames[3] = {L"日本語のフォルダ", L"Ελληνικός φάκελος",
                                                L"emoji \U0001F4C1\U0001F600"};
inline const wchar_t kDocumentsItem[] = L"::{450d8fba-ad25-11d0-98a8-0800361b1103}";

inline CShellFolderHolder Desktop()
{
    CShellFolderHolder desktop;
    EXPECT_HRESULT_SUCCEEDED(SHGetDesktopFolder(desktop.Receive()));
    return desktop;
}

// The absolute list of a name, parsed by the desktop.
inline LPITEMIDLIST Parse(const std::wstring& name)
{
    LPITEMIDLIST pidl = nullptr;
    SHParseDisplayName(name.c_str(), nullptr, &pidl, 0, nullptr);
    return pidl;
}

inline LPITEMIDLIST SpecialList(int csidl)
{
    LPITEMIDLIST pidl = nullptr;
    EXPECT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl));
    return pidl;
}

// pidl without its last nDrop items, cut by shell32.
inline LPITEMIDLIST ShellPrefix(LPCITEMIDLIST pidl, int nDrop)
{
    LPITEMIDLIST prefix = ILClone(pidl);
    while (nDrop-- > 0)
        ILRemoveLastID(prefix);
    return prefix;
}

inline std::wstring DocumentsPath()
{
    wchar_t path[MAX_PATH] = {};
    EXPECT_HRESULT_SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, path));
    return path;
}

inline void MakeFolders(const std::wstring& path)
{
    const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS) << Narrow(path);
}

inline void MakeFile(const std::wstring& path)
{
    CScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file.IsValid()) << Narrow(path);
}

inline std::string Utf8(const CString& text)
{
    return Narrow(std::wstring(text.GetString(), text.GetLength()));
}

inline bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return a && b && ILGetSize(a) == ILGetSize(b) && memcmp(a, b, ILGetSize(a)) == 0;
}

inline ULONG Refs(IUnknown* p)
{
    p->AddRef();
    return p->Release();
}

inline LPITEMIDLIST ListOf(const FolderPtr& folder)
{
    return folder && folder->GetShellData() ? folder->GetShellData()->m_pidlFull : nullptr;
}

// Leak-checked fixture; the shell is warmed up once before the first check so
// that the blocks it caches for the life of the process are not counted.
class ShellModelTest : public testing_support::TaskMemCheckedTest
{
protected:
    static void SetUpTestSuite()
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

    const HWND m_hwndOwner = GetDesktopWindow();
};

} // namespace shellmodel_test
