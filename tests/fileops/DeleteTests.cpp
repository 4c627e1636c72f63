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
    // DeleteBFiles in dir, with the shell's confirmation answered by nShellAnswer.
    int Delete(const TestFiles& files, bool bToRecycleBin, int nShellAnswer = IDYES, CBFileList* pNotFound = nullptr)
    {
        DialogDriver driver;
        driver.Then([nShellAnswer](HWND hDlg) { AnswerShellDialog(hDlg, nShellAnswer); });
        driver.Start();
        int nCode = Code(DeleteBFiles(nullptr, folder.get(), files.List(), pNotFound, bToRecycleBin));
        EXPECT_TRUE(driver.Finished());
        return nCode;
    }

    ScratchFolder dir{L"del"};
    std::unique_ptr<CBFolder> folder = ShellFolder(dir.Path());
};

} // namespace

TEST_F(DeleteTest, ToTheRecycleBinOrForGoodAfterTheShellsConfirmation)
{
    const std::wstring trash = TrashFiles();
    ASSERT_FALSE(trash.empty());
    testing_support::TrashEntries trashed({Unique(L"a.jpg"), Unique(L"b.jpg")});
    Make(L"other.jpg");
    for (bool bToRecycleBin : {true, false})
    {
        SCOPED_TRACE(bToRecycleBin ? "recycle bin" : "for good");
        const std::wstring a = Unique(bToRecycleBin ? L"a.jpg" : L"gone.jpg");
        const std::wstring b = Unique(L"b.jpg");
        Make(a);
        Make(b);
        CBFileList notFound;
        EXPECT_EQ(0, Delete(TestFiles{a.c_str(), b.c_str()}, bToRecycleBin, IDYES, &notFound));
        EXPECT_TRUE(notFound.IsEmpty());
        EXPECT_EQ((std::vector<std::wstring>{L"other.jpg"}), Listing(dir.Path()));
        EXPECT_EQ(bToRecycleBin ? testing_support::Narrow(a) : "<missing>", ReadFile(trash + L"\\" + a));
    }
}

// The prompt lists what is missing; only Yes goes on (to the shell's own
// confirmation) with the files found.
TEST_F(DeleteTest, MissingFilesAreShownFirstAndOnlyYesGoesOn)
{
    const struct { bool bSomeExist; int nAnswer; int nCode; UINT nMessage; } rows[] = {
        {false, IDOK, ZEC_USER_STOPPED, IDS_BRWS_DELETE_NOTFOUND},
        {true, IDNO, ZEC_USER_STOPPED, IDS_BRWS_DELETE_NOTFOUND_ASK},
        {true, IDYES, 0, IDS_BRWS_DELETE_NOTFOUND_ASK}};
    Make(L"keep.jpg");
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "answer " << r.nAnswer);
        if (r.bSomeExist)
        {
            Make(L"a.jpg");
            Make(L"c.jpg");
        }
        TestFiles files{L"a.jpg", L"b.jpg", L"c.jpg"};
        CBFileList notFound;
        PromptView view;
        EXPECT_EQ(r.nCode, WithPromptAnswered(r.nAnswer, &view, [&] {
                      return Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, false));
                  }, r.nCode == 0));
        EXPECT_EQ(ResourceText(r.nMessage), view.message);
        EXPECT_EQ(r.nAnswer == IDOK, view.okShown);
        EXPECT_EQ(r.nAnswer != IDOK, view.yesShown && view.noShown);
        // The caller gets the very objects that are missing.
        std::vector<const CBFile*> missing = {files[1]};
        std::vector<std::wstring> lines = {dir / L"b.jpg"};
        if (!r.bSomeExist)
        {
            missing = {files[0], files[1], files[2]};
            lines = {dir / L"a.jpg", dir / L"b.jpg", dir / L"c.jpg"};
        }
        EXPECT_EQ(missing, Pointers(notFound));
        EXPECT_EQ(lines, view.fileLines);
        std::vector<std::wstring> left = {L"keep.jpg"};
        if (r.bSomeExist && r.nCode != 0)
            left = {L"a.jpg", L"c.jpg", L"keep.jpg"};
        EXPECT_EQ(left, Listing(dir.Path()));
    }
}

// The file stays when the shell is told No (a stop) and when it cannot
// delete a file in use (a failure).
TEST_F(DeleteTest, ADeclinedConfirmationOrAFileInUseKeepsTheFile)
{
    Make(L"a.jpg");
    EXPECT_EQ(ZEC_USER_STOPPED, Delete(TestFiles{L"a.jpg"}, true, IDNO));
    CScopedFileHandle lock(CreateFileW((dir / L"a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid()) << "gone after No";
    EXPECT_EQ(ZEC_SHELL_OP_FAILED, Delete(TestFiles{L"a.jpg"}, false));
    lock.Reset();
    EXPECT_EQ("a.jpg", ReadFile(dir / L"a.jpg"));
}

// Names that would make the shell delete the folder itself, its parent or
// every file by wildcard count as not found; the folder stays whole.
TEST_F(DeleteTest, NamesThatLeaveTheFolderAreNeverDeleted)
{
    Make(L"a.jpg");
    Make(L"b.jpg");
    TestFiles files{L"", L".", L"..", L"...", L"*", L"*.jpg"};
    CBFileList notFound;
    PromptView view;
    EXPECT_EQ(ZEC_USER_STOPPED, WithPromptAnswered(IDOK, &view, [&] {
                  return Code(DeleteBFiles(nullptr, folder.get(), files.List(), &notFound, false));
              }));
    EXPECT_TRUE(view.okShown) << "nothing is left to go on with";
    EXPECT_EQ(6, notFound.GetCount());
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(dir.Path()));
}

TEST_F(DeleteTest, OnlyShellFoldersWithPathsAndNonEmptyListsAreAccepted)
{
    Make(L"a.jpg");
    TestFiles files{L"a.jpg"};
    CBFileList empty;
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
    driver.Then([](HWND hDlg) { AnswerShellDialog(hDlg, IDYES); });
    driver.Start();
    EXPECT_EQ(0, Code(DeleteFSFiles(nullptr, linkFolder.get(), files.List(), nullptr, false)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(Listing(dir.Path()).empty());
}
