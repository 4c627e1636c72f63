// The file-operation error dialog and the missing-files prompt, shown for
// real and answered as a person would: by mouse, close box, Escape or Enter.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

// Runs the dialog modally, reads what it shows, then answers with answer().
PromptView RunDialog(CBrwsFileOpErrorDlg& dlg, const std::function<void(HWND)>& answer, INT_PTR* pResult)
{
    PromptView view;
    *pResult = WithPromptAnswered(answer, &view, [&] { return static_cast<int>(dlg.DoModal()); });
    return view;
}

// Shows the prompt for files a.jpg, b.jpg, c of folder, reads it, answers it.
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
    run.code = WithPromptAnswered(answer, &run.view, [&] {
        return Code(DisplayFileOpEmptyFilesPrompt(eOp, bCanContinue, folder.c_str(), notFound.List()));
    });
    return run;
}

void Click(HWND hDlg, int nID) { DialogDriver::Click(hDlg, nID); }
void ClickYes(HWND hDlg) { Click(hDlg, IDYES); }
void ClickNo(HWND hDlg) { Click(hDlg, IDNO); }
void ClickOK(HWND hDlg) { Click(hDlg, IDOK); }
void PressEscape(HWND) { DialogDriver::PostKey(GetFocus(), VK_ESCAPE); }
void PressEnter(HWND) { DialogDriver::PostKey(GetFocus(), VK_RETURN); }

const std::wstring kFolder = L"D:\\Photos\\2024";

} // namespace

// Asking shows Yes and No (Yes the default), informing only OK; each path on
// its own line, whether or not the folder ends with a backslash.
TEST(MissingFilesPrompt, AsksOrInformsAndListsEveryPathOnItsOwnLine)
{
    const struct { EBFileOp eOp; int bCanContinue; const wchar_t* folderEnd; void (*answer)(HWND); int code;
                   UINT nMessage; const wchar_t* buttonWord; } rows[] = {
        {eBFileOpCopy, 1, L"", ClickYes, 0, IDS_BRWS_COPY_NOTFOUND_ASK, L"Yes"},
        {eBFileOpCopy, 1, L"\\", ClickYes, 0, IDS_BRWS_COPY_NOTFOUND_ASK, L"Yes"},
        {eBFileOpDelete, 0, L"", ClickOK, ZEC_USER_STOPPED, IDS_BRWS_DELETE_NOTFOUND, L"OK"}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "operation " << r.eOp << ", continue " << r.bCanContinue);
        PromptRun run = RunPrompt(r.eOp, r.bCanContinue, kFolder + r.folderEnd, r.answer);
        EXPECT_EQ(r.code, run.code);
        EXPECT_EQ(ResourceText(r.nMessage), run.view.message);
        EXPECT_NE(std::wstring::npos, run.view.message.find(r.buttonWord)) << "the message names the button";
        EXPECT_EQ((std::vector<std::wstring>{kFolder + L"\\a.jpg", kFolder + L"\\b.jpg", kFolder + L"\\c"}),
                  run.view.fileLines);
        EXPECT_EQ(r.bCanContinue != 0, run.view.yesShown);
        EXPECT_EQ(r.bCanContinue != 0, run.view.noShown);
        EXPECT_EQ(r.bCanContinue == 0, run.view.okShown);
        EXPECT_TRUE(run.view.iconShown);
        if (r.bCanContinue)
        {
            EXPECT_EQ(static_cast<UINT>(IDYES), run.view.defaultButton);
        }
        EXPECT_EQ(std::wstring(AfxGetAppName()), run.view.title);
    }
}

TEST(MissingFilesPrompt, EveryAnswerButYesStops)
{
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpMove, 1, kFolder, ClickNo).code);
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpMove, 1, kFolder, ClickCloseBox).code);
    EXPECT_EQ(ZEC_USER_STOPPED, RunPrompt(eBFileOpMove, 1, kFolder, PressEscape).code);
    // Enter takes the default button, which is Yes, not the hidden OK.
    EXPECT_EQ(0, RunPrompt(eBFileOpMove, 1, kFolder, PressEnter).code);
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
