// Copy and move through the real shell on real files, and the names of
// copies made in their own folder.
#include "FileOpsTestEnv.h"

#include <functional>

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
    std::string Content(const wchar_t* name) { return testing_support::Narrow(name); }

    ScratchFolder src{L"src"};
    ScratchFolder dst{L"dst"};
};

// The prompt's view, then the answer given to it.
std::function<void(HWND)> ReadAndAnswer(PromptView* pView, int nButton)
{
    return [pView, nButton](HWND hDlg) {
        ASSERT_TRUE(IsFileOpPrompt(hDlg));
        *pView = ReadPrompt(hDlg);
        DialogDriver::Click(hDlg, nButton);
    };
}

} // namespace

// ---- names of copies ---------------------------------------------------------------

TEST_F(CopyTest, CopyNameKeepsTheExtensionAfterThePatternAndSkipsTakenNames)
{
    Make({L"photo.jpg", L"photo - Copy.jpg"});
    CString name = L"photo.jpg";
    EXPECT_EQ(1, GetFirstUniqueCopyFileName(src.Path().c_str(), name));
    EXPECT_EQ(L"photo - Copy (2).jpg", Str(name));

    Make({L"photo - Copy (2).jpg"});
    name = L"photo.jpg";
    EXPECT_EQ(1, GetFirstUniqueCopyFileName((src.Path() + L"\\").c_str(), name));
    EXPECT_EQ(L"photo - Copy (3).jpg", Str(name));

    name = L"archive";
    EXPECT_EQ(1, GetFirstUniqueCopyFileName(src.Path().c_str(), name));
    EXPECT_EQ(L"archive - Copy", Str(name));

    name = L".profile";
    EXPECT_EQ(1, GetFirstUniqueCopyFileName(src.Path().c_str(), name));
    EXPECT_EQ(L" - Copy.profile", Str(name));
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
    auto from = ShellFolder(src.Path());
    auto to = ShellFolder(dst.Path());
    CBFileList notFound;
    OwnedList made;
    CBFile* pSentinel = CreateShellFile(L"keep", L"keep", nullptr, nullptr, 0, 0);
    made.list.AddTail(pSentinel); // what the caller had stays first and alive

    NoDialogExpected quiet;
    EXPECT_EQ(0, Code(CopyBFiles(1, nullptr, from.get(), files.List(), to.get(), &notFound, &made.list)));
    EXPECT_TRUE(notFound.IsEmpty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"archive", L"b.png"}), Listing(dst.Path()));
    EXPECT_EQ("a.jpg", ReadFile(dst / L"a.jpg"));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"archive", L"b.png"}), Listing(src.Path()));
    ASSERT_EQ(4, made.list.GetCount());
    EXPECT_EQ(pSentinel, made.list.GetHead());
    made.list.RemoveHead();
    delete pSentinel;
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.png", L"archive"}), Names(made.list));
    EXPECT_EQ((std::vector<std::wstring>{dst / L"a.jpg", dst / L"b.png", dst / L"archive"}), Paths(made.list));
    const CBFile* pNew = made.list.GetHead();
    EXPECT_EQ(eBKindShell, pNew->m_nKind);
    EXPECT_EQ(0u, pNew->m_dwAttribs);
    EXPECT_EQ(0u, pNew->m_dwSize);
    EXPECT_EQ(0u, pNew->m_ftLastWrite.dwLowDateTime | pNew->m_ftLastWrite.dwHighDateTime);
}

TEST_F(CopyTest, CopyIntoTheSameFolderGivesEveryCopyAFreeName)
{
    Make({L"photo.jpg", L"photo - Copy.jpg", L"archive", L".profile"});
    WriteFile(src / L"photo - Copy.jpg", "older copy");
    TestFiles files{L"photo.jpg", L"archive", L".profile"};
    auto folder = ShellFolder(src.Path());
    auto sameWithSlash = PathFolder(src.Path() + L"\\");
    OwnedList made;

    NoDialogExpected quiet;
    EXPECT_EQ(0, Code(CopyBFiles(1, nullptr, folder.get(), files.List(), sameWithSlash.get(), nullptr, &made.list)));
    EXPECT_EQ((std::vector<std::wstring>{L" - Copy.profile", L".profile", L"archive", L"archive - Copy",
                                         L"photo - Copy (2).jpg", L"photo - Copy.jpg", L"photo.jpg"}),
              Listing(src.Path()));
    EXPECT_EQ("photo.jpg", ReadFile(src / L"photo - Copy (2).jpg"));
    EXPECT_EQ("older copy", ReadFile(src / L"photo - Copy.jpg"));
    EXPECT_EQ(".profile", ReadFile(src / L" - Copy.profile"));
    EXPECT_EQ((std::vector<std::wstring>{L"photo - Copy (2).jpg", L"archive - Copy", L" - Copy.profile"}),
              Names(made.list));
    EXPECT_EQ(src.Path() + L"\\archive - Copy", Paths(made.list)[1]);
}

TEST_F(CopyTest, MoveToAnotherFolderAndIntoItsOwnFolder)
{
    Make({L"a.jpg", L"b.jpg", L"stay.jpg"});
    auto from = ShellFolder(src.Path());
    auto to = ShellFolder(dst.Path());
    {
        TestFiles files{L"a.jpg", L"b.jpg"};
        OwnedList made;
        NoDialogExpected quiet;
        EXPECT_EQ(0, Code(CopyBFiles(0, nullptr, from.get(), files.List(), to.get(), nullptr, &made.list)));
        EXPECT_EQ((std::vector<std::wstring>{L"stay.jpg"}), Listing(src.Path()));
        EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(dst.Path()));
        EXPECT_EQ("b.jpg", ReadFile(dst / L"b.jpg"));
        EXPECT_EQ((std::vector<std::wstring>{dst / L"a.jpg", dst / L"b.jpg"}), Paths(made.list));
    }
    {
        // Nothing to move: success, the files untouched and handed back.
        TestFiles files{L"stay.jpg"};
        OwnedList made;
        NoDialogExpected quiet;
        EXPECT_EQ(0, Code(CopyBFiles(0, nullptr, from.get(), files.List(), from.get(), nullptr, &made.list)));
        EXPECT_EQ((std::vector<std::wstring>{L"stay.jpg"}), Listing(src.Path()));
        EXPECT_EQ("stay.jpg", ReadFile(src / L"stay.jpg"));
        EXPECT_EQ((std::vector<std::wstring>{src / L"stay.jpg"}), Paths(made.list));
    }
}

TEST_F(CopyTest, MissingFilesAskFirstAndYesCopiesTheRest)
{
    Make({L"a.jpg", L"c.jpg", L"e.jpg"});
    TestFiles files{L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg", L"e.jpg"};
    auto from = ShellFolder(src.Path());
    auto to = ShellFolder(dst.Path());
    CBFileList notFound;
    OwnedList made;
    PromptView view;
    DialogDriver driver;
    driver.Then(ReadAndAnswer(&view, IDYES));
    driver.Start();
    EXPECT_EQ(0, Code(CopyBFiles(1, nullptr, from.get(), files.List(), to.get(), &notFound, &made.list)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(ResourceText(IDS_BRWS_COPY_NOTFOUND_ASK), view.message);
    EXPECT_EQ((std::vector<std::wstring>{src / L"b.jpg", src / L"d.jpg"}), view.fileLines);
    EXPECT_TRUE(view.yesShown && view.noShown && !view.okShown);
    EXPECT_EQ((std::vector<const CBFile*>{files[1], files[3]}), Pointers(notFound));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"c.jpg", L"e.jpg"}), Listing(dst.Path()));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"c.jpg", L"e.jpg"}), Names(made.list));
}

TEST_F(CopyTest, MissingFilesAndNoStopsBeforeAnythingIsCopied)
{
    Make({L"a.jpg", L"c.jpg", L"e.jpg"});
    TestFiles files{L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg", L"e.jpg"};
    auto from = ShellFolder(src.Path());
    CBFileList notFound;
    OwnedList made;
    PromptView view;
    DialogDriver driver;
    driver.Then(ReadAndAnswer(&view, IDNO));
    driver.Start();
    // Into the same folder: no name is searched and no copy made either.
    EXPECT_EQ(ZEC_USER_STOPPED,
              Code(CopyBFiles(1, nullptr, from.get(), files.List(), from.get(), &notFound, &made.list)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ((std::vector<const CBFile*>{files[1], files[3]}), Pointers(notFound));
    EXPECT_TRUE(made.list.IsEmpty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"c.jpg", L"e.jpg"}), Listing(src.Path()));
}

TEST_F(CopyTest, AllFilesMissingOnlyInformsWithOK)
{
    TestFiles files{L"a.jpg", L"b.jpg"};
    auto from = ShellFolder(src.Path());
    auto to = ShellFolder(dst.Path());
    CBFileList notFound;
    OwnedList made;
    PromptView view;
    DialogDriver driver;
    driver.Then(ReadAndAnswer(&view, IDOK));
    driver.Start();
    EXPECT_EQ(ZEC_USER_STOPPED,
              Code(CopyBFiles(0, nullptr, from.get(), files.List(), to.get(), &notFound, &made.list)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(ResourceText(IDS_BRWS_MOVE_NOTFOUND), view.message);
    EXPECT_TRUE(view.okShown && !view.yesShown && !view.noShown);
    EXPECT_EQ(2, notFound.GetCount());
    EXPECT_TRUE(made.list.IsEmpty());
    EXPECT_TRUE(Listing(dst.Path()).empty());
}

TEST_F(CopyTest, EscapeHeldWhileNamesAreSearchedFailsTheCopyBeforeTheShellRuns)
{
    Make({L"a.jpg", L"b.jpg"});
    TestFiles files{L"a.jpg", L"b.jpg"};
    auto folder = ShellFolder(src.Path());
    OwnedList made;
    NoDialogExpected quiet;
    {
        EscapeHeld escape;
        EXPECT_EQ(ZEC_NO_UNIQUE_NAME,
                  Code(CopyBFiles(1, nullptr, folder.get(), files.List(), folder.get(), nullptr, &made.list)));
    }
    EXPECT_TRUE(made.list.IsEmpty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(src.Path()));
}

// Declining the shell's replace prompt is an abort: code 100, the old file
// kept, and no new object claimed for it; the other file still arrives.
TEST_F(CopyTest, DecliningTheShellsReplacePromptReportsTheStop)
{
    Make({L"a.jpg", L"b.jpg"});
    WriteFile(dst / L"a.jpg", "already here");
    TestFiles files{L"a.jpg", L"b.jpg"};
    auto from = ShellFolder(src.Path());
    auto to = ShellFolder(dst.Path());
    OwnedList made;
    DialogDriver driver;
    driver.Then([](HWND hDlg) { AnswerShellDialog(hDlg, IDNO); });
    driver.Start();
    EXPECT_EQ(ZEC_USER_STOPPED, Code(CopyBFiles(1, nullptr, from.get(), files.List(), to.get(), nullptr, &made.list)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ("already here", ReadFile(dst / L"a.jpg"));
    EXPECT_EQ("b.jpg", ReadFile(dst / L"b.jpg"));
    EXPECT_EQ((std::vector<std::wstring>{L"b.jpg"}), Names(made.list));
}

// A file the shell cannot read does not arrive: the shell may still answer
// success, so the result comes from what is on disk.
TEST_F(CopyTest, AFileThatDoesNotArriveIsAFailureAndNotHandedBack)
{
    Make({L"a.jpg", L"locked.jpg"});
    TestFiles files{L"a.jpg", L"locked.jpg"};
    auto from = ShellFolder(src.Path());
    auto to = ShellFolder(dst.Path());
    OwnedList made;
    HANDLE hLock = CreateFileW((src / L"locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    {
        NoDialogExpected quiet;
        EXPECT_EQ(ZEC_SHELL_OP_FAILED,
                  Code(CopyBFiles(1, nullptr, from.get(), files.List(), to.get(), nullptr, &made.list)));
    }
    CloseHandle(hLock);
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(dst.Path()));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Names(made.list));
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
    auto from = ShellFolder(src.Path());
    auto gone = PathFolder(dst / L"gone");
    auto none = PathFolder(L"");
    OwnedList made;
    const CBFileList& list = files.List();
    NoDialogExpected quiet;
    EXPECT_EQ(ZEC_FILES_NOT_FOUND, Code(CopyBFiles(1, nullptr, from.get(), list, gone.get(), nullptr, &made.list)));
    EXPECT_EQ(ZEC_FILES_NOT_FOUND, Code(CopyBFiles(0, nullptr, from.get(), list, gone.get(), nullptr, &made.list)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyBFiles(1, nullptr, from.get(), list, none.get(), nullptr, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyBFiles(1, nullptr, none.get(), list, from.get(), nullptr, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyBFiles(1, nullptr, from.get(), empty, from.get(), nullptr, nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(CopyFSFiles(1, nullptr, from.get(), list, from.get(), &both, &both)));
    EXPECT_TRUE(made.list.IsEmpty());
    EXPECT_TRUE(Listing(dst.Path()).empty());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(src.Path()));
}
