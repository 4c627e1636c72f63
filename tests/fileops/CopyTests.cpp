// Copy and move through the real shell on real files, and the names of
// copies made in their own folder.
#include "FileOpsTestEnv.h"

#include <algorithm>

using namespace fileops_test;

namespace {

class CopyTest : public ::testing::Test
{
protected:
    // Writes each file into src with its name as content.
    void Make(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
            WriteFile(src / name, testing_support::Narrow(name));
    }
    // CopyBFiles from src, the new objects into made.
    int Copy(int bCopy, const TestFiles& files, const CBFolder* pTo, CBFileList* pNotFound = nullptr)
    {
        return Code(CopyBFiles(bCopy, nullptr, from.get(), files.List(), pTo, pNotFound, made.Out()));
    }

    ScratchFolder src{L"src"};
    ScratchFolder dst{L"dst"};
    std::unique_ptr<CBFolder> from = ShellFolder(src.Path());
    std::unique_ptr<CBFolder> to = ShellFolder(dst.Path());
    TestFiles made;
};

} // namespace

// ---- names of copies ---------------------------------------------------------------

TEST_F(CopyTest, CopyNameKeepsTheExtensionAfterThePatternAndSkipsTakenNames)
{
    Make({L"photo.jpg", L"photo - Copy.jpg", L"photo - Copy (2).jpg"});
    const struct { const wchar_t *folderEnd, *name, *expected; } rows[] = {
        {L"", L"photo.jpg", L"photo - Copy (3).jpg"}, {L"\\", L"photo.jpg", L"photo - Copy (3).jpg"},
        {L"", L"archive", L"archive - Copy"}, {L"", L".profile", L" - Copy.profile"}};
    for (const auto& r : rows)
    {
        CString name = r.name;
        EXPECT_EQ(1, GetFirstUniqueCopyFileName((src.Path() + r.folderEnd).c_str(), name));
        EXPECT_EQ(r.expected, Str(name));
    }
}

TEST_F(CopyTest, CopyNameSearchGivesUpAfter499TakenNames)
{
    WriteFile(src / L"x - Copy.txt", "");
    for (int n = 2; n < 500; ++n)
        WriteFile(src / (L"x - Copy (" + std::to_wstring(n) + L").txt"), "");
    CString name = L"x.txt";
    EXPECT_EQ(0, GetFirstUniqueCopyFileName(src.Path().c_str(), name));
    EXPECT_EQ(L"x - Copy (499).txt", Str(name));
}

// ---- copy and move ------------------------------------------------------------------

TEST_F(CopyTest, CopyToAnotherFolderCopiesAndHandsBackOneNewObjectPerFile)
{
    Make({L"a.jpg", L"b.png", L"archive"});
    TestFiles files{L"a.jpg", L"b.png", L"archive"};
    CBFileList notFound;
    CBFile* pKept = made.Add(L"keep"); // what the caller had stays first and alive
    {
        NoDialogExpected quiet;
        EXPECT_EQ(0, Copy(1, files, to.get(), &notFound));
    }
    EXPECT_TRUE(notFound.IsEmpty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"archive", L"b.png"}), Listing(dst.Path()));
    EXPECT_EQ("a.jpg", ReadFile(dst / L"a.jpg"));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"archive", L"b.png"}), Listing(src.Path()));
    EXPECT_EQ((std::vector<std::wstring>{L"keep", dst / L"a.jpg", dst / L"b.png", dst / L"archive"}),
              Paths(made.List()));
    EXPECT_EQ(pKept, made[0]);
    const CBFile* pNew = made[1];
    EXPECT_EQ(L"a.jpg", Str(pNew->m_strName));
    EXPECT_EQ(eBKindShell, pNew->m_nKind);
    EXPECT_EQ(0u, pNew->m_dwAttribs | pNew->m_dwSize | pNew->m_ftLastWrite.dwLowDateTime |
                       pNew->m_ftLastWrite.dwHighDateTime);
}

TEST_F(CopyTest, CopyIntoTheSameFolderGivesEveryCopyAFreeName)
{
    Make({L"photo.jpg", L"archive", L".profile"});
    WriteFile(src / L"photo - Copy.jpg", "older copy");
    TestFiles files{L"photo.jpg", L"archive", L".profile"};
    auto sameWithSlash = PathFolder(src.Path() + L"\\");
    {
        NoDialogExpected quiet;
        EXPECT_EQ(0, Copy(1, files, sameWithSlash.get()));
    }
    EXPECT_EQ((std::vector<std::wstring>{L" - Copy.profile", L".profile", L"archive", L"archive - Copy",
                                         L"photo - Copy (2).jpg", L"photo - Copy.jpg", L"photo.jpg"}),
              Listing(src.Path()));
    EXPECT_EQ("photo.jpg", ReadFile(src / L"photo - Copy (2).jpg"));
    EXPECT_EQ("older copy", ReadFile(src / L"photo - Copy.jpg"));
    EXPECT_EQ(".profile", ReadFile(src / L" - Copy.profile"));
    EXPECT_EQ((std::vector<std::wstring>{src / L"photo - Copy (2).jpg", src / L"archive - Copy",
                                         src / L" - Copy.profile"}),
              Paths(made.List()));
}

TEST_F(CopyTest, MoveToAnotherFolderAndIntoItsOwnFolder)
{
    Make({L"a.jpg", L"b.jpg", L"stay.jpg"});
    NoDialogExpected quiet;
    EXPECT_EQ(0, Copy(0, TestFiles{L"a.jpg", L"b.jpg"}, to.get()));
    EXPECT_EQ((std::vector<std::wstring>{L"stay.jpg"}), Listing(src.Path()));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(dst.Path()));
    EXPECT_EQ("b.jpg", ReadFile(dst / L"b.jpg"));
    // Nothing to move: success, the file untouched and handed back.
    EXPECT_EQ(0, Copy(0, TestFiles{L"stay.jpg"}, from.get()));
    EXPECT_EQ("stay.jpg", ReadFile(src / L"stay.jpg"));
    EXPECT_EQ((std::vector<std::wstring>{dst / L"a.jpg", dst / L"b.jpg", src / L"stay.jpg"}), Paths(made.List()));
}

// The prompt lists what is missing; only Yes goes on, with the files found.
TEST_F(CopyTest, MissingFilesAreShownFirstAndOnlyYesGoesOn)
{
    const struct { int bCopy; bool bSameFolder; bool bSomeExist; int nAnswer; int nCode; UINT nMessage; } rows[] = {
        {1, false, true, IDYES, 0, IDS_BRWS_COPY_NOTFOUND_ASK},
        // Into the same folder: no name is searched and no copy made either.
        {1, true, true, IDNO, ZEC_USER_STOPPED, IDS_BRWS_COPY_NOTFOUND_ASK},
        {0, false, false, IDOK, ZEC_USER_STOPPED, IDS_BRWS_MOVE_NOTFOUND}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "copy " << r.bCopy << ", answer " << r.nAnswer);
        ScratchFolder srcDir{L"src"};
        ScratchFolder dstDir{L"dst"};
        std::vector<std::wstring> present;
        if (r.bSomeExist)
            present = {L"a.jpg", L"c.jpg", L"e.jpg"};
        for (const std::wstring& name : present)
            WriteFile(srcDir / name, "x");
        TestFiles files{L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg", L"e.jpg"};
        auto source = ShellFolder(srcDir.Path());
        auto target = r.bSameFolder ? ShellFolder(srcDir.Path()) : ShellFolder(dstDir.Path());
        CBFileList notFound;
        TestFiles made;
        PromptView view;
        EXPECT_EQ(r.nCode, WithPromptAnswered(r.nAnswer, &view, [&] {
                      return Code(CopyBFiles(r.bCopy, nullptr, source.get(), files.List(), target.get(), &notFound,
                                             made.Out()));
                  }));
        EXPECT_EQ(ResourceText(r.nMessage), view.message);
        EXPECT_EQ(r.nAnswer == IDOK, view.okShown);
        EXPECT_EQ(r.nAnswer != IDOK, view.yesShown && view.noShown);
        // The caller gets the very objects that are missing.
        std::vector<const CBFile*> missing;
        std::vector<std::wstring> lines;
        for (int i = 0; i < 5; ++i)
        {
            const std::wstring name = Str(files[i]->m_strName);
            if (std::find(present.begin(), present.end(), name) == present.end())
            {
                missing.push_back(files[i]);
                lines.push_back(srcDir / name);
            }
        }
        EXPECT_EQ(missing, Pointers(notFound));
        EXPECT_EQ(lines, view.fileLines);
        EXPECT_EQ(r.nCode == 0 ? present : std::vector<std::wstring>(), Names(made.List()));
        EXPECT_EQ(r.nCode == 0 || r.bSameFolder ? present : std::vector<std::wstring>(),
                  Listing(r.bSameFolder ? srcDir.Path() : dstDir.Path()));
    }
}

TEST_F(CopyTest, EscapeHeldWhileNamesAreSearchedFailsTheCopyBeforeTheShellRuns)
{
    Make({L"a.jpg", L"b.jpg"});
    NoDialogExpected quiet;
    {
        EscapeHeld escape;
        EXPECT_EQ(ZEC_NO_UNIQUE_NAME, Copy(1, TestFiles{L"a.jpg", L"b.jpg"}, from.get()));
    }
    EXPECT_TRUE(made.List().IsEmpty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(src.Path()));
}

// Declining the shell's replace prompt is an abort: code 100, the old file
// kept, and no new object claimed for it; the other file still arrives.
TEST_F(CopyTest, DecliningTheShellsReplacePromptReportsTheStop)
{
    Make({L"a.jpg", L"b.jpg"});
    WriteFile(dst / L"a.jpg", "already here");
    DialogDriver driver;
    driver.Then([](HWND hDlg) { AnswerShellDialog(hDlg, IDNO); });
    driver.Start();
    EXPECT_EQ(ZEC_USER_STOPPED, Copy(1, TestFiles{L"a.jpg", L"b.jpg"}, to.get()));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ("already here", ReadFile(dst / L"a.jpg"));
    EXPECT_EQ("b.jpg", ReadFile(dst / L"b.jpg"));
    EXPECT_EQ((std::vector<std::wstring>{L"b.jpg"}), Names(made.List()));
}

// A file the shell cannot read does not arrive: the shell may still answer
// success, so the result comes from what is on disk.
TEST_F(CopyTest, AFileThatDoesNotArriveIsAFailureAndNotHandedBack)
{
    Make({L"a.jpg", L"locked.jpg"});
    CScopedFileHandle lock(
        CreateFileW((src / L"locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid());
    {
        NoDialogExpected quiet;
        EXPECT_EQ(ZEC_SHELL_OP_FAILED, Copy(1, TestFiles{L"a.jpg", L"locked.jpg"}, to.get()));
    }
    lock.Reset();
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(dst.Path()));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Names(made.List()));
    EXPECT_EQ("locked.jpg", ReadFile(src / L"locked.jpg"));
}

// Refused before anything is shown or touched. The shell would take a
// missing destination for the name of a single copy.
TEST_F(CopyTest, RefusesMissingDestinationsFoldersWithoutPathsAndBadLists)
{
    Make({L"a.jpg"});
    TestFiles files{L"a.jpg"};
    CBFileList empty;
    CBFileList both;
    auto gone = PathFolder(dst / L"gone");
    auto none = PathFolder(L"");
    const CBFileList& list = files.List();
    NoDialogExpected quiet;
    EXPECT_EQ(ZEC_FILES_NOT_FOUND, Copy(1, files, gone.get()));
    EXPECT_EQ(ZEC_FILES_NOT_FOUND, Copy(0, files, gone.get()));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Copy(1, files, none.get()));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyBFiles(1, nullptr, none.get(), list, from.get(), nullptr, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyBFiles(1, nullptr, from.get(), empty, from.get(), nullptr, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyFSFiles(1, nullptr, from.get(), list, from.get(), &both, &both)));
    EXPECT_TRUE(made.List().IsEmpty());
    EXPECT_TRUE(Listing(dst.Path()).empty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(src.Path()));
}
