// The file-operation error dialog and the missing-files prompt, shown for
// real and answered as a person would: by mouse, close box, Escape or Enter.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

// Runs the dialog modally, reads what it shows, then answers with answer().
PromptView RunDialog(CBrwsFileOpErrorDlg& dlg, const std::function<void(HWND)>& answer, INT_PTR* pResult)
{
    PromptView view;
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        view = ReadPrompt(hDlg);
        answer(hDlg);
    });
    driver.Start();
    *pResult = dlg.DoModal();
    EXPECT_TRUE(driver.Finished());
    return view;
}

// Shows the prompt for files a, b, c of folder, reads it, answers it.
struct PromptRun
{
    PromptView view;
    int code = -1;
};

PromptRun RunPrompt(EBFileOp eOp, int bCanContinue, const std::wstring& folder,
                    const std::function<void(HWND)>& answer)
{
    TestFiles notFound{L"a.jpg", L"b.jpg", L"c"};
    PromptRun run;
    DialogDriver driver;
    driver.Then([&](HWND hDlg) {
        run.view = ReadPrompt(hDlg);
        answer(hDlg);
    });
    driver.Start();
    run.code = Code(DisplayFileOpEmptyFilesPrompt(eOp, bCanContinue, folder.c_str(), notFound.List()));
    EXPECT_TRUE(driver.Finished());
    return run;
}

void ClickYes(HWND hDlg) { DialogDriver::Click(hDlg, IDYES); }
void ClickNo(HWND hDlg) { DialogDriver::Click(hDlg, IDNO); }
void ClickOK(HWND hDlg) { DialogDriver::Click(hDlg, IDOK); }
void PressEscape(HWND) { DialogDriver::PostKey(GetFocus(), VK_ESCAPE); }
void PressEnter(HWND) { DialogDriver::PostKey(GetFocus(), VK_RETURN); }

const std::wstring kFolder = L"D:\\Photos\\2024";

} // namespace

TEST(MissingFilesPrompt, AsksWithYesAndNoAndListsEveryPathOnItsOwnLine)
{
    PromptRun run = RunPrompt(eBFileOpCopy, 1, kFolder, ClickYes);
    EXPECT_EQ(0, run.code);
    EXPECT_EQ(ResourceText(IDS_BRWS_COPY_NOTFOUND_ASK), run.view.message);
    EXPECT_NE(std::wstring::npos, run.view.message.find(L"Yes")) << "the message says what Yes does";
    EXPECT_EQ((std::vector<std::wstring>{kFolder + L"\\a.jpg", kFolder + L"\\b.jpg", kFolder + L"\\c"}),
              run.view.fileLines);
    EXPECT_TRUE(run.view.yesShown);
    EXPECT_TRUE(run.view.noShown);
    EXPECT_FALSE(run.view.okShown);
    EXPECT_TRUE(run.view.iconShown);
    EXPECT_EQ(static_cast<UINT>(IDYES), run.view.defaultButton);
    EXPECT_EQ(std::wstring(AfxGetAppName()), run.view.title);

    // The folder with a trailing backslash gives the same lines.
    PromptRun again = RunPrompt(eBFileOpCopy, 1, kFolder + L"\\", ClickYes);
    EXPECT_EQ(run.view.fileLines, again.view.fileLines);
}

TEST(MissingFilesPrompt, EveryAnswerButYesStops)
{
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpMove, 1, kFolder, ClickNo).code);
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpMove, 1, kFolder, ClickCloseBox).code);
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpMove, 1, kFolder, PressEscape).code);
    // Enter takes the default button, which is Yes, not the hidden OK.
    EXPECT_EQ(0, RunPrompt(eBFileOpMove, 1, kFolder, PressEnter).code);
}

TEST(MissingFilesPrompt, OnlyInformsWhenTheUserCannotGoOn)
{
    PromptRun run = RunPrompt(eBFileOpDelete, 0, kFolder, ClickOK);
    EXPECT_EQ(ZEC_USER_STOPPED, run.code);
    EXPECT_EQ(ResourceText(IDS_BRWS_DELETE_NOTFOUND), run.view.message);
    EXPECT_NE(std::wstring::npos, run.view.message.find(L"OK"));
    EXPECT_TRUE(run.view.okShown);
    EXPECT_FALSE(run.view.yesShown);
    EXPECT_FALSE(run.view.noShown);
    EXPECT_EQ(3u, run.view.fileLines.size());

    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpRename, 0, kFolder, PressEscape).code);
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpRename, 0, kFolder, ClickCloseBox).code);
}

TEST(FileOpErrorDialog, ChoosesTheMessageByOperationConditionAndAnswerMode)
{
    struct Case
    {
        int nOp;
        int bNotFound;
        int bOther;
        int bCanContinue;
        UINT nExpected; // 0: no message
    };
    const Case cases[] = {
        {eBFileOpMove, 0, 0, 0, IDS_BRWS_MOVE_NOTFOUND}, // without the other problem the flag does not count
        {eBFileOpRename, 1, 1, 1, IDS_BRWS_RENAME_BOTH_ASK},
        {eBFileOpDelete, 0, 1, 0, IDS_BRWS_DELETE_OTHER},
        {4, 1, 0, 1, IDS_BRWS_HOSTOP_NOTFOUND_ASK},
        {4, 1, 1, 0, 0},
        {7, 1, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        CBrwsFileOpErrorDlg dlg;
        dlg.m_eFileOp = static_cast<EBFileOp>(c.nOp);
        dlg.m_bNotFound = c.bNotFound;
        dlg.m_bOtherProblem = c.bOther;
        dlg.m_bCanContinue = c.bCanContinue;
        INT_PTR result = 0;
        PromptView view = RunDialog(dlg, c.bCanContinue ? ClickNo : ClickOK, &result);
        std::wstring expected = c.nExpected != 0 ? ResourceText(c.nExpected) : std::wstring();
        EXPECT_EQ(expected, view.message) << "operation " << c.nOp << ", other " << c.bOther << ", continue "
                                          << c.bCanContinue;
        EXPECT_EQ(c.nExpected != 0, !expected.empty()) << "string " << c.nExpected << " is in the language module";
        EXPECT_EQ(c.bCanContinue ? IDNO : IDOK, result);
    }
}

TEST(FileOpErrorDialog, ListsNothingWithoutAListAndEachPathOnceOnASecondRun)
{
    CBrwsFileOpErrorDlg dlg;
    INT_PTR result = 0;
    EXPECT_TRUE(RunDialog(dlg, ClickOK, &result).fileLines.empty());
    EXPECT_EQ(IDOK, result);

    CStringList paths;
    paths.AddTail(L"C:\\x\\one");
    paths.AddTail(L"C:\\x\\two");
    dlg.m_pFileList = &paths;
    RunDialog(dlg, ClickOK, &result);
    PromptView view = RunDialog(dlg, ClickOK, &result);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\x\\one", L"C:\\x\\two"}), view.fileLines);
}
