// Shared pieces of the shell-model tests: the leak-checked fixture and helpers
// that ask shell32 itself for lists, paths and reference counts.
#pragma once

#include "BrwsFolderFactory.h"
#include "BrwsIDList.h"
#include "MallocSpy.h"
#include "TestProcess.h"
#include "module/Holders.h"

#include <memory>
#include <string>

namespace shellmodel_test {

using testing_support::Narrow;
using testing_support::ScratchFolder;
using testing_support::TaskMemSpy;
typedef std::unique_ptr<CBFolder> FolderPtr;

// Names outside any Western ANSI code page.
extern const wchar_t* const kNonAnsiNames[3];
extern const wchar_t kDocumentsItem[];

// Leak-checked fixture; the shell is warmed up once before the first check so
// that the blocks it caches for the life of the process are not counted.
class ShellModelTest : public testing_support::TaskMemCheckedTest
{
protected:
    static void SetUpTestSuite();
};

CShellFolderHolder Desktop();
// The relative list of a name, parsed by pFolder itself.
LPITEMIDLIST Parse(IShellFolder* pFolder, const std::wstring& name);
// The absolute list of a parsing name, parsed by the desktop.
LPITEMIDLIST ShellParse(const std::wstring& name);
LPITEMIDLIST SpecialList(int csidl);
// pidl without its last nDrop items, cut by shell32.
LPITEMIDLIST ShellPrefix(LPCITEMIDLIST pidl, int nDrop);
std::wstring DocumentsPath();
// What SHGetPathFromIDListW reports for the list.
std::wstring ShellPath(LPCITEMIDLIST pidl);
void MakeFolders(const std::wstring& path);
void MakeFile(const std::wstring& path);
std::string Utf8(const CString& text);
bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b);
ULONG Refs(IUnknown* p);
LPITEMIDLIST ListOf(const FolderPtr& folder);

} // namespace shellmodel_test
