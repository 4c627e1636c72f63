// Delete through the real shell, with its own confirmation answered as a
// person would, into the recycle bin and for good.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

class DeleteTest : public ::testing::Test
{
protected:
    // Names unique to this run, so that the recycle bin, which outlives the
    // run, cannot hold an older file of the same name.
    std::wstring Unique(const wchar_t* name)
    {
        return dir.Path().substr(dir.Path().rfind(L'\\') + 1) + L"-" + name;
    }
    void Make(const std::wstring& name) { WriteFile(dir / name, testing_support::Narrow(name)); }

    ScratchFolder dir{L"del"};
};

void ConfirmInShell(HWND hDlg)
{
    AnswerShellDialog(hDlg, IDYES);
}

} // namespace

TEST_F(DeleteTest, ToTheRecycleBinAfterTheShellsConfirmation)
{
    std::wstring a = Unique(L"a.jpg");
    std::wstring b = Unique(L"b.jpg");
    Make(a);
    Make(b);
    Make(L"other.jpg");
    TestFiles files{a.c_str(), b.c_str()};
    auto folder = ShellFolder(dir.Path());
    CBFileList notFound;
    DialogDriver driver;
    driver.Then(ConfirmInShell);
    driver.Start();
    EXPECT_EQ(0, Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, true)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(notFound.IsEmpty());
    EXPECT_EQ((std::vector<std::wstring>{L"other.jpg"}), Listing(dir.Path()));
    std::wstring trash = TrashFiles();
    ASSERT_FALSE(trash.empty());
    EXPECT_EQ(testing_support::Narrow(a), ReadFile(trash + L"\\" + a));
    EXPECT_EQ(testing_support::Narrow(b), ReadFile(trash + L"\\" + b));
}

TEST_F(DeleteTest, ForGoodWhenNotToTheRecycleBin)
{
    std::wstring a = Unique(L"gone.jpg");
    Make(a);
    TestFiles files{a.c_str()};
    auto folder = ShellFolder(dir.Path());
    DialogDriver driver;
    driver.Then(ConfirmInShell);
    driver.Start();
    EXPECT_EQ(0, Code(DeleteBFiles(nullptr, folder.get(), files.List(), nullptr, false)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(Listing(dir.Path()).empty());
    EXPECT_FALSE(Exists(TrashFiles() + L"\\" + a));
}

TEST_F(DeleteTest, DecliningTheShellsConfirmationKeepsTheFilesAndReportsTheStop)
{
    Make(L"a.jpg");
    TestFiles files{L"a.jpg"};
    auto folder = ShellFolder(dir.Path());
    DialogDriver driver;
    driver.Then([](HWND hDlg) { AnswerShellDialog(hDlg, IDNO); });
    driver.Start();
    EXPECT_EQ(ZEC_USER_STOPPED, Code(DeleteBFiles(nullptr, folder.get(), files.List(), nullptr, true)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ("a.jpg", ReadFile(dir / L"a.jpg"));
}

TEST_F(DeleteTest, MissingFilesAskFirst)
{
    Make(L"a.jpg");
    Make(L"c.jpg");
    TestFiles files{L"a.jpg", L"b.jpg", L"c.jpg"};
    auto folder = ShellFolder(dir.Path());
    {
        // No: nothing is deleted and the shell is not asked.
        CBFileList notFound;
        PromptView view;
        DialogDriver driver;
        driver.Then([&](HWND hDlg) {
            view = ReadPrompt(hDlg);
            DialogDriver::Click(hDlg, IDNO);
        });
        driver.Start();
        EXPECT_EQ(ZEC_USER_STOPPED, Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, false)));
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ(ResourceText(IDS_BRWS_DELETE_NOTFOUND_ASK), view.message);
        EXPECT_EQ((std::vector<std::wstring>{dir / L"b.jpg"}), view.fileLines);
        EXPECT_TRUE(view.yesShown && view.noShown && !view.okShown);
        EXPECT_EQ((std::vector<const CBFile*>{files[1]}), Pointers(notFound));
        EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"c.jpg"}), Listing(dir.Path()));
    }
    {
        // Yes: the shell confirms, then the two that exist go.
        CBFileList notFound;
        DialogDriver driver;
        driver.Then([](HWND hDlg) {
                  ASSERT_TRUE(IsFileOpPrompt(hDlg));
                  DialogDriver::Click(hDlg, IDYES);
              })
            .Then(ConfirmInShell);
        driver.Start();
        EXPECT_EQ(0, Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, false)));
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ((std::vector<const CBFile*>{files[1]}), Pointers(notFound));
        EXPECT_TRUE(Listing(dir.Path()).empty());
    }
}

TEST_F(DeleteTest, AllFilesMissingOnlyInformsWithOK)
{
    Make(L"keep.jpg");
    TestFiles files{L"a.jpg", L"b.jpg"};
    auto folder = ShellFolder(dir.Path());
    CBFileList notFound;
    PromptView view;
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        view = ReadPrompt(hDlg);
        DialogDriver::Click(hDlg, IDOK);
    });
    driver.Start();
    EXPECT_EQ(ZEC_USER_STOPPED, Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, true)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(ResourceText(IDS_BRWS_DELETE_NOTFOUND), view.message);
    EXPECT_TRUE(view.okShown && !view.yesShown && !view.noShown);
    EXPECT_EQ(2, notFound.GetCount());
    EXPECT_EQ((std::vector<std::wstring>{L"keep.jpg"}), Listing(dir.Path()));
}

// A file in use cannot be deleted: the shell's failure is the result.
TEST_F(DeleteTest, AFileThatStaysIsAFailure)
{
    Make(L"locked.jpg");
    TestFiles files{L"locked.jpg"};
    auto folder = ShellFolder(dir.Path());
    HANDLE hLock = CreateFileW((dir / L"locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    DialogDriver driver;
    driver.Then(ConfirmInShell);
    driver.Start();
    EXPECT_EQ(ZEC_SHELL_OP_FAILED, Code(DeleteBFiles(nullptr, folder.get(), files.List(), nullptr, false)));
    EXPECT_TRUE(driver.Finished());
    CloseHandle(hLock);
    EXPECT_EQ("locked.jpg", ReadFile(dir / L"locked.jpg"));
}

// Names that would make the shell delete the folder itself, its parent or
// every file by wildcard count as not found; the folder stays whole.
TEST_F(DeleteTest, NamesThatLeaveTheFolderAreNeverDeleted)
{
    Make(L"a.jpg");
    Make(L"b.jpg");
    TestFiles files{L"", L".", L"..", L"...", L"*", L"*.jpg"};
    auto folder = ShellFolder(dir.Path());
    CBFileList notFound;
    PromptView view;
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        view = ReadPrompt(hDlg);
        DialogDriver::Click(hDlg, IDOK);
    });
    driver.Start();
    EXPECT_EQ(ZEC_USER_STOPPED, Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, false)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(view.okShown) << "nothing is left to go on with";
    EXPECT_EQ(6, notFound.GetCount());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(dir.Path()));
}

TEST_F(DeleteTest, OnlyShellFoldersWithPathsAndNonEmptyListsAreAccepted)
{
    Make(L"a.jpg");
    TestFiles files{L"a.jpg"};
    CBFileList empty;
    auto folder = ShellFolder(dir.Path());
    auto linkFolder = PathFolder(dir.Path(), eBKindLink);
    auto virtualFolder = PathFolder(L"");
    {
        NoDialogExpected quiet;
        const CBFileList& list = files.List();
        EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(DeleteBFiles(nullptr, linkFolder.get(), list, nullptr, false)));
        EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(DeleteBFiles(nullptr, virtualFolder.get(), list, nullptr, false)));
        EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(DeleteBFiles(nullptr, folder.get(), empty, nullptr, false)));
        EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(DeleteFSFiles(nullptr, virtualFolder.get(), list, nullptr, false)));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(dir.Path()));

    // The worker does not look at the kind.
    DialogDriver driver;
    driver.Then(ConfirmInShell);
    driver.Start();
    EXPECT_EQ(0, Code(DeleteFSFiles(nullptr, linkFolder.get(), files.List(), nullptr, false)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(Listing(dir.Path()).empty());
}
