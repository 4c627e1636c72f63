// The line-separated path strings the operations build from file lists, and
// the arguments every operation refuses.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

// Each row: the folder, the file names, then the result, the path string and
// which files are set aside. Names that would reach the folder itself, its
// parent, another file by wildcard, or split the shell's block are never
// looked up: each counts as not found although what it would name exists.
TEST(FileNameString, ListsTheFilesThatExistAndSetsAsideTheOthers)
{
    ScratchFolder dir, outside;
    WriteFile(dir / L"a.jpg", "a");
    WriteFile(dir / L"c.jpg", "c");
    WriteFile(outside / L"secret.txt", "keep");
    const std::wstring a = dir / L"a.jpg\n", c = dir / L"c.jpg\n";
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring root = std::wstring(windows).substr(0, 3); // "C:\"
    const struct { std::wstring folder; Strings files; int code; std::wstring names; std::vector<int> notFound; } rows[] = {
        {dir.Path(), {L"a.jpg", L"b.jpg", L"c.jpg"}, 0, a + c + L"\n", {1}},
        {dir.Path() + L"\\", {L"a.jpg", L"b.jpg", L"c.jpg"}, 0, a + c + L"\n", {1}},
        {root, {windows + 3}, 0, windows + std::wstring(L"\n\n"), {}},
        {dir / L"gone", {L"a.jpg", L"x.jpg"}, ZEC_FILES_NOT_FOUND, L"", {0, 1}},
        {dir.Path(), {L"x.jpg", L"y.jpg"}, ZEC_FILES_NOT_FOUND, L"", {0, 1}},
        {dir.Path(), {L"..\\" + Leaf(outside.Path()) + L"\\secret.txt", L"sub/../a.jpg", L"a.jpg\n..\\..\\x", L"..",
                      L".", L"...", L" ", L"", L"*", L"a.jp?", L"C:a.jpg", L"a.jpg:stream", L"a.jpg"},
         0, a + L"\n", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing_support::Narrow(r.folder + L" " + r.files[0]));
        TestFiles files(r.files);
        CString names = L"stale";
        CBFileList notFound;
        EXPECT_EQ(r.code, Code(CreateFileOpFileNameString(r.folder.c_str(), files, &names, &notFound)));
        EXPECT_EQ(r.names, Str(names));
        std::vector<const CBFile*> expected;
        for (int i : r.notFound)
            expected.push_back(files[i]);
        EXPECT_EQ(expected, Pointers(notFound));
    }
}

// Refused before anything is shown or touched: folders without paths, empty
// lists, output lists that are the input or one another, out-pointers that
// are missing or hold an object, link folders for the exported delete, and
// new names that leave the folder. The shell would take a missing
// destination for the name of a single copy: 207 instead.
TEST_F(FileOpTest, BadArgumentsAreRefusedBeforeAnythingIsShownOrTouched)
{
    Make({L"a.jpg"});
    TestFiles files({L"a.jpg"});
    const CBFile& a = *files[0];
    CBFileList empty, self;
    self.AddTail(files[0]);
    self.AddTail(static_cast<CBFile*>(nullptr));
    FolderPtr gone = PathFolder(dst / L"gone"), none = PathFolder(L""), link = PathFolder(src.Path(), eBKindLink);
    const CBFolder *pSrc = from.get(), *pNone = none.get();
    const wchar_t* srcPath = src.Path().c_str();
    CString names;
    CBFile noName;
    CBFile *pNew = nullptr, *pHeld = files[0];
    const std::wstring escape = L"..\\" + Leaf(dst.Path()) + L"\\a.jpg";
    {
        NoDialogExpected quiet;
        const int codes[] = {
            Code(CopyBFiles(1, nullptr, pNone, files, pSrc, nullptr, nullptr)),
            Code(CopyBFiles(1, nullptr, pSrc, files, pNone, nullptr, &made)),
            Code(CopyBFiles(1, nullptr, pSrc, empty, pSrc, nullptr, nullptr)),
            Code(CopyFSFiles(1, nullptr, pSrc, files, pSrc, &made, &made)),
            Code(DeleteBFiles(nullptr, link.get(), files, nullptr, false)),
            Code(DeleteBFiles(nullptr, pNone, files, nullptr, false)), Code(DeleteBFiles(nullptr, pSrc, empty, nullptr, false)),
            Code(RenameBFile(nullptr, pSrc, a, L"b.jpg", &pHeld)), Code(RenameBFile(nullptr, pSrc, a, L"b.jpg", nullptr)),
            Code(RenameBFile(nullptr, pNone, a, L"b.jpg", &pNew)), Code(RenameBFile(nullptr, pSrc, noName, L"b.jpg", &pNew)),
            Code(CreateFileOpFileNameString(srcPath, files, nullptr, nullptr)),
            Code(CreateFileOpFileNameString(L"", files, &names, nullptr)),
            Code(CreateFileOpFileNameString(nullptr, files, &names, nullptr)),
            Code(CreateFileOpFileNameString(srcPath, empty, &names, nullptr)),
            // The input list as its own not-found list would grow while it is walked.
            Code(CreateFileOpFileNameString(gone->m_strPath, self, nullptr, &self))};
        for (const int& code : codes)
            EXPECT_EQ(ZEC_INVALID_ARGUMENTS, code) << "call " << (&code - codes);
        for (const wchar_t* name : {escape.c_str(), L"sub/b.jpg", L"sub\\b.jpg", L"C:b.jpg", L"b.jpg:stream",
                                    L"b\n.jpg", L".", L"..", L"...", L"", L"*.jpg", static_cast<const wchar_t*>(nullptr)})
            EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameBFile(nullptr, pSrc, a, name, &pNew)));
        EXPECT_EQ(ZEC_FILES_NOT_FOUND, Copy(1, {L"a.jpg"}, gone.get()));
        EXPECT_EQ(ZEC_FILES_NOT_FOUND, Copy(0, {L"a.jpg"}, gone.get()));
    }
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ(files[0], pHeld);
    EXPECT_EQ(2, self.GetCount());
    EXPECT_TRUE(made.IsEmpty());
    EXPECT_EQ((Strings{L"a.jpg"}), Listing(src.Path()));
    EXPECT_TRUE(Listing(dst.Path()).empty());
    // The worker does not look at the kind.
    EXPECT_EQ(0, WithShellAnswer(IDYES, [&] { return Code(DeleteFSFiles(nullptr, link.get(), files, nullptr, false)); }));
    EXPECT_TRUE(Listing(src.Path()).empty());
}
