// File lists, the line-separated path strings and the shell's name blocks.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

std::wstring BlockText(const unsigned char* pBlock, size_t nChars)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(pBlock), nChars);
}

} // namespace

TEST(FreeBFileList, DeletesEveryObjectAndLeavesTheListReusable)
{
    CBFileList list;
    FreeBFileList(&list); // empty: nothing to do
    list.AddTail(CreateShellFile(L"a", L"C:\\a", nullptr, nullptr, 0, 0));
    list.AddTail(static_cast<CBFile*>(nullptr));
    list.AddTail(CreateShellFile(L"b", L"C:\\b", nullptr, nullptr, 0, 0));
    FreeBFileList(&list);
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(CreateShellFile(L"c", L"C:\\c", nullptr, nullptr, 0, 0));
    EXPECT_EQ(1, list.GetCount());
    FreeBFileList(&list);
}

TEST(CreateDoubleNullList, TurnsLineFeedsIntoNulsAndEndsWithOneMore)
{
    EXPECT_EQ(nullptr, CreateDoubleNullList(CString()));
    EXPECT_EQ(nullptr, CreateDoubleNullList(CString(L"x")));

    std::unique_ptr<unsigned char[]> single(CreateDoubleNullList(CString(L"x\n")));
    ASSERT_TRUE(single);
    EXPECT_EQ(std::wstring(L"x\0\0", 3), BlockText(single.get(), 3));

    std::unique_ptr<unsigned char[]> two(CreateDoubleNullList(CString(L"a\nb\n\n")));
    ASSERT_TRUE(two);
    EXPECT_EQ(std::wstring(L"a\0b\0\0\0", 6), BlockText(two.get(), 6));
}

class FileNameString : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFile(dir / L"a.jpg", "a");
        WriteFile(dir / L"c.jpg", "c");
    }

    ScratchFolder dir;
};

TEST_F(FileNameString, ListsTheFilesThatExistAndSetsAsideTheOthers)
{
    TestFiles files{L"a.jpg", L"b.jpg", L"c.jpg"};
    CString names = L"stale";
    CBFileList notFound;
    EXPECT_EQ(0, Code(CreateFileOpFileNameString(dir.Path().c_str(), files.List(), &names, &notFound)));
    std::wstring base = dir.Path() + L"\\";
    EXPECT_EQ(base + L"a.jpg\n" + base + L"c.jpg\n\n", Str(names));
    EXPECT_EQ((std::vector<const CBFile*>{files[1]}), Pointers(notFound));

    // A trailing backslash on the folder changes nothing.
    CString again;
    EXPECT_EQ(0, Code(CreateFileOpFileNameString((dir.Path() + L"\\").c_str(), files.List(), &again, nullptr)));
    EXPECT_EQ(Str(names), Str(again));
}

TEST_F(FileNameString, DriveRootKeepsItsSingleBackslash)
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring root = std::wstring(windows).substr(0, 3); // "C:\"
    std::wstring folderName = std::wstring(windows).substr(3);
    TestFiles files{folderName.c_str()};
    CString names;
    EXPECT_EQ(0, Code(CreateFileOpFileNameString(root.c_str(), files.List(), &names, nullptr)));
    EXPECT_EQ(root + folderName + L"\n\n", Str(names));
}

TEST_F(FileNameString, MissingFolderOrNoFileFoundIs207WithEveryFileSetAside)
{
    TestFiles files{L"a.jpg", L"x.jpg"};
    CString names = L"stale";
    CBFileList notFound;
    EXPECT_EQ(ZEC_FILES_NOT_FOUND,
              Code(CreateFileOpFileNameString((dir / L"gone").c_str(), files.List(), &names, &notFound)));
    EXPECT_TRUE(names.IsEmpty());
    EXPECT_EQ((std::vector<const CBFile*>{files[0], files[1]}), Pointers(notFound));

    TestFiles missing{L"x.jpg", L"y.jpg"};
    CBFileList notFound2;
    EXPECT_EQ(ZEC_FILES_NOT_FOUND,
              Code(CreateFileOpFileNameString(dir.Path().c_str(), missing.List(), &names, &notFound2)));
    EXPECT_EQ(2, notFound2.GetCount());
}

TEST_F(FileNameString, RefusesMissingArguments)
{
    TestFiles files{L"a.jpg"};
    CBFileList empty;
    CString names;
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS,
              Code(CreateFileOpFileNameString(dir.Path().c_str(), files.List(), nullptr, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CreateFileOpFileNameString(L"", files.List(), &names, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CreateFileOpFileNameString(nullptr, files.List(), &names, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CreateFileOpFileNameString(dir.Path().c_str(), empty, &names, nullptr)));
    // The input list as its own not-found list would grow while it is walked.
    CBFileList self;
    self.AddTail(files[0]);
    self.AddTail(static_cast<CBFile*>(nullptr));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS,
              Code(CreateFileOpFileNameString((dir / L"gone").c_str(), self, nullptr, &self)));
    EXPECT_EQ(2, self.GetCount());
}

// Names that would reach the folder itself, its parent, another file by
// wildcard, or split the shell's block are never looked up: each counts as
// not found although what it would name exists.
TEST_F(FileNameString, NamesThatLeaveTheFolderCountAsNotFound)
{
    ScratchFolder outside;
    WriteFile(outside / L"secret.txt", "keep");
    std::wstring outsideName = outside.Path().substr(outside.Path().rfind(L'\\') + 1);
    std::wstring escape = L"..\\" + outsideName + L"\\secret.txt";
    TestFiles files{escape.c_str(), L"sub/../a.jpg", L"a.jpg\n..\\..\\x", L"..", L".", L"...", L" ", L"",
                    L"*", L"a.jp?", L"C:a.jpg", L"a.jpg:stream", L"a.jpg"};
    CString names;
    CBFileList notFound;
    EXPECT_EQ(0, Code(CreateFileOpFileNameString(dir.Path().c_str(), files.List(), &names, &notFound)));
    EXPECT_EQ(dir.Path() + L"\\a.jpg\n\n", Str(names));
    EXPECT_EQ(files.List().GetCount() - 1, notFound.GetCount());
    EXPECT_EQ(files[0], notFound.GetHead());
}
