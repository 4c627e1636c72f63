// The file-operation error dialog and the missing-files prompt, shown for
// real by the operations and answered as a person would: by mouse, close
// box, Escape or Enter.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

using Buttons = std::vector<int>;

void PressEscape(HWND) { DialogDriver::PostKey(GetFocus(), VK_ESCAPE); }
void PressEnter(HWND) { DialogDriver::PostKey(GetFocus(), VK_RETURN); }
void ClickCloseBox(HWND hDlg) { PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }

} // namespace

// The prompt lists each missing path on its own line (whether or not the
// folder ends with a backslash) and the caller gets those very objects.
// Asking shows Yes and No, Yes the default (Enter goes on); informing shows
// only OK. Every answer but Yes stops; Yes goes on with the files found.
TEST(MissingFilesPrompt, ShownBeforeCopyMoveAndDeleteAndOnlyYesGoesOn)
{
    enum { kCopy, kCopyHere, kMove, kDelete };
    const struct { int op; const wchar_t* srcEnd; bool bSomeExist; std::function<void(HWND)> answer; int nCode;
                   UINT nMessage; } rows[] = {
        {kCopy, L"", true, Clicking(IDYES), 0, IDS_BRWS_COPY_NOTFOUND_ASK},
        {kCopy, L"\\", true, PressEnter, 0, IDS_BRWS_COPY_NOTFOUND_ASK},
        // Into the same folder: no name is searched and no copy made either.
        {kCopyHere, L"", true, Clicking(IDNO), ZEC_USER_STOPPED, IDS_BRWS_COPY_NOTFOUND_ASK},
        {kMove, L"", false, Clicking(IDOK), ZEC_USER_STOPPED, IDS_BRWS_MOVE_NOTFOUND},
        {kMove, L"", true, PressEscape, ZEC_USER_STOPPED, IDS_BRWS_MOVE_NOTFOUND_ASK},
        {kMove, L"", true, ClickCloseBox, ZEC_USER_STOPPED, IDS_BRWS_MOVE_NOTFOUND_ASK},
        {kDelete, L"", false, ClickCloseBox, ZEC_USER_STOPPED, IDS_BRWS_DELETE_NOTFOUND},
        {kDelete, L"", true, Clicking(IDNO), ZEC_USER_STOPPED, IDS_BRWS_DELETE_NOTFOUND_ASK},
        {kDelete, L"\\", true, Clicking(IDYES), 0, IDS_BRWS_DELETE_NOTFOUND_ASK}};
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
        ScratchFolder src{L"src"}, dst{L"dst"};
        const Strings present = r.bSomeExist ? Strings{L"a.jpg", L"c.jpg"} : Strings();
        for (const std::wstring& name : present)
            WriteFile(src / name, "x");
        TestFiles files({L"a.jpg", L"b.jpg", L"c.jpg"}), made;
        FolderPtr from = PathFolder(src.Path() + r.srcEnd), to = PathFolder(r.op == kCopyHere ? src.Path() : dst.Path());
        CBFileList notFound;
        PromptView view;
        EXPECT_EQ(r.nCode, WithPromptAnswered(r.answer, &view, [&] {
                      if (r.op == kDelete)
                          return Code(DeleteBFiles(nullptr, from.get(), files, &notFound, false));
                      return Code(CopyBFiles(r.op != kMove, nullptr, from.get(), files, to.get(), &notFound,
                                             &made));
                  }, r.op == kDelete && r.nCode == 0));
        EXPECT_EQ(ResourceText(r.nMessage), view.message);
        EXPECT_EQ((r.bSomeExist ? Buttons{IDYES, IDNO} : Buttons{IDOK}), view.buttons);
        EXPECT_EQ(r.bSomeExist ? std::vector<const CBFile*>{files[1]} : Pointers(files), Pointers(notFound));
        EXPECT_EQ(Each(notFound, [&](const CBFile* p) { return src / Str(p->m_strName); }), view.fileLines);
        const bool bCopied = r.nCode == 0 && r.op == kCopy;
        EXPECT_EQ(bCopied ? present : Strings(), Names(made));
        EXPECT_EQ(bCopied ? present : Strings(), Listing(dst.Path()));
        EXPECT_EQ(r.nCode == 0 && r.op == kDelete ? Strings() : present, Listing(src.Path()));
    }
}

// Without a list the dialog lists nothing; a second run of the same dialog
// lists each path once. The exported prompt goes on only with Yes.
TEST(FileOpErrorDialog, ChoosesTheMessageByOperationConditionAndAnswerModeAndListsEachPathOnce)
{
    const struct { int nOp, bNotFound, bOther, bCanContinue; UINT nExpected; } cases[] = { // 0: no message
        {eBFileOpMove, 0, 0, 0, IDS_BRWS_MOVE_NOTFOUND}, // without the other problem the flag does not count
        {eBFileOpRename, 1, 1, 1, IDS_BRWS_RENAME_BOTH_ASK}, {eBFileOpDelete, 0, 1, 0, IDS_BRWS_DELETE_OTHER},
        {4, 1, 0, 1, IDS_BRWS_HOSTOP_NOTFOUND_ASK}, {4, 1, 1, 0, 0}, {7, 1, 0, 0, 0}};
    PromptView view;
    for (const auto& c : cases)
    {
        CBrwsFileOpErrorDlg dlg;
        dlg.m_eFileOp = static_cast<EBFileOp>(c.nOp);
        dlg.m_bNotFound = c.bNotFound;
        dlg.m_bOtherProblem = c.bOther;
        dlg.m_bCanContinue = c.bCanContinue;
        const int nAnswer = c.bCanContinue ? IDNO : IDOK;
        EXPECT_EQ(nAnswer, WithPromptAnswered(Clicking(nAnswer), &view, [&] { return int(dlg.DoModal()); }));
        std::wstring expected = c.nExpected != 0 ? ResourceText(c.nExpected) : std::wstring();
        EXPECT_EQ(expected, view.message) << "operation " << c.nOp << ", other " << c.bOther;
        EXPECT_TRUE(c.nExpected == 0 || !expected.empty()) << "string " << c.nExpected << " is in the language module";
        EXPECT_TRUE(view.fileLines.empty());
    }
    CBrwsFileOpErrorDlg dlg;
    CStringList paths;
    paths.AddTail(L"C:\\x\\one");
    paths.AddTail(L"C:\\x\\two");
    dlg.m_pFileList = &paths;
    for (int nRun = 0; nRun < 2; ++nRun)
        WithPromptAnswered(Clicking(IDOK), &view, [&] { return int(dlg.DoModal()); });
    EXPECT_EQ((Strings{L"C:\\x\\one", L"C:\\x\\two"}), view.fileLines);
    TestFiles notFound({L"a.jpg"});
    for (int nAnswer : {IDYES, IDNO})
        EXPECT_EQ(nAnswer == IDYES ? 0 : ZEC_USER_STOPPED, WithPromptAnswered(Clicking(nAnswer), &view, [&] {
                      return Code(DisplayFileOpEmptyFilesPrompt(eBFileOpRename, 1, L"D:\\x", notFound));
                  }));
}
