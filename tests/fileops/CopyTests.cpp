// Copy and move through the real shell on real files, and the names of
// copies made in their own folder.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

using CopyTest = FileOpTest;

// Presses or releases Escape in the X server itself (XTEST), as a keyboard
// would, with hFocus focused, and reads messages until Wine's key state has
// it. Pressed only in Wine the key would not stay down: Wine aligns its key
// state with the X server's whenever one of its windows gets focus.
void PressEscapeInXServer(HWND hFocus, bool bDown)
{
    SetForegroundWindow(hFocus);
    SetFocus(hFocus);
    std::wstring command = std::wstring(L"Z:\\usr\\bin\\python3 \"" XTEST_KEY_SCRIPT "\" 0xff1b ") + (bDown ? L"down" : L"up");
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    // A Unix program started by Wine has no process handle to wait on.
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start /usr/bin/python3 for xtest_key.py: error " << GetLastError();
    CScopedKernelHandle thread(pi.hThread), process(pi.hProcess);
    EXPECT_TRUE(testing_support::PumpMessagesUntil([=] { return (GetAsyncKeyState(VK_ESCAPE) < 0) == bDown; }, 5000))
        << "the Escape key did not reach the test's window";
}

} // namespace

// The extension stays after the pattern; after 499 taken names the search
// gives up, and so it does while Escape is held. A copy with no free name is
// refused before the shell runs.
TEST_F(CopyTest, CopyNamesSkipTakenNamesAndGiveUpAfter499OrOnEscape)
{
    Make({L"photo.jpg", L"photo - Copy.jpg", L"photo - Copy (2).jpg", L"x.txt", L"x - Copy.txt", L"archive"});
    for (int n = 2; n < 500; ++n)
        WriteFile(src / (L"x - Copy (" + std::to_wstring(n) + L").txt"), "");
    const struct { const wchar_t *folderEnd, *name, *expected; int found; } rows[] = {
        {L"", L"photo.jpg", L"photo - Copy (3).jpg", 1}, {L"\\", L"photo.jpg", L"photo - Copy (3).jpg", 1},
        {L"", L"archive", L"archive - Copy", 1}, {L"", L".profile", L" - Copy.profile", 1},
        {L"", L"x.txt", L"x - Copy (499).txt", 0}};
    for (const auto& r : rows)
    {
        CString name = r.name;
        EXPECT_EQ(r.found, GetFirstUniqueCopyFileName((src.Path() + r.folderEnd).c_str(), name));
        EXPECT_EQ(r.expected, Str(name));
    }
    NoDialogExpected quiet;
    EXPECT_EQ(ZEC_NO_UNIQUE_NAME, Copy(1, {L"photo.jpg", L"x.txt"}, from.get()));
    HWND hKeyboard = CreateWindowExW(0, L"EDIT", L"keyboard", WS_POPUP | WS_VISIBLE, 0, 0, 80, 20, nullptr, nullptr,
                                     nullptr, nullptr);
    PressEscapeInXServer(hKeyboard, true);
    EXPECT_EQ(ZEC_NO_UNIQUE_NAME, Copy(1, {L"photo.jpg", L"archive"}, from.get()));
    PressEscapeInXServer(hKeyboard, false);
    DestroyWindow(hKeyboard);
    EXPECT_TRUE(made.IsEmpty());
    EXPECT_EQ(504u, Listing(src.Path()).size());
}

// What the caller had in the list stays first and alive; each file that
// arrived adds one new object (a shell file with only a name and a path), in
// input order. Copies into the files' own folder get free names; a move into
// it has nothing to do: success, the file untouched and handed back.
TEST_F(CopyTest, CopyAndMoveHandBackOneNewObjectPerFile)
{
    Make({L"a.jpg", L"archive", L".profile", L"m.jpg"});
    WriteFile(src / L"a - Copy.jpg", "older copy");
    made.AddTail(static_cast<CBFile*>(nullptr));
    CBFileList notFound;
    FolderPtr sameWithSlash = PathFolder(src.Path() + L"\\");
    NoDialogExpected quiet;
    EXPECT_EQ(0, Copy(1, {L"a.jpg", L"archive"}, to.get(), &notFound));
    EXPECT_TRUE(notFound.IsEmpty());
    EXPECT_EQ(0, Copy(1, {L"a.jpg", L"archive", L".profile"}, sameWithSlash.get()));
    EXPECT_EQ(0, Copy(0, {L"m.jpg", L".profile"}, to.get()));
    EXPECT_EQ(0, Copy(0, {L"a.jpg"}, from.get()));
    EXPECT_EQ((Strings{L" - Copy.profile", L"a - Copy (2).jpg", L"a - Copy.jpg", L"a.jpg", L"archive",
                       L"archive - Copy"}),
              Listing(src.Path()));
    EXPECT_EQ((Strings{L".profile", L"a.jpg", L"archive", L"m.jpg"}), Listing(dst.Path()));
    EXPECT_EQ("a.jpg|older copy|.profile", ReadFile(src / L"a - Copy (2).jpg") + "|" +
                                               ReadFile(src / L"a - Copy.jpg") + "|" + ReadFile(dst / L".profile"));
    EXPECT_EQ(nullptr, made.RemoveHead());
    EXPECT_EQ((Strings{dst / L"a.jpg", dst / L"archive", src / L"a - Copy (2).jpg", src / L"archive - Copy",
                       src / L" - Copy.profile", dst / L"m.jpg", dst / L".profile", src / L"a.jpg"}),
              Names(made, true));
    EXPECT_EQ(L"a.jpg", Str(made[0]->m_strName));
}

// Declining the shell's replace prompt is an abort: code 100, the old file
// kept, and no new object claimed for it; the other file still arrives. A
// file the shell cannot read does not arrive: the shell may still answer
// success, so the result comes from what is on disk.
TEST_F(CopyTest, AFileDeclinedOrNotArrivedIsNotHandedBack)
{
    Make({L"a.jpg", L"b.jpg", L"c.jpg", L"locked.jpg"});
    WriteFile(dst / L"a.jpg", "already here");
    EXPECT_EQ(ZEC_USER_STOPPED, WithShellAnswer(IDNO, [&] { return Copy(1, {L"a.jpg", L"b.jpg"}, to.get()); }));
    CScopedFileHandle lock(CreateFileW((src / L"locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid());
    NoDialogExpected quiet;
    EXPECT_EQ(ZEC_SHELL_OP_FAILED, Copy(1, {L"c.jpg", L"locked.jpg"}, to.get()));
    lock.Reset();
    EXPECT_EQ((Strings{L"a.jpg", L"b.jpg", L"c.jpg"}), Listing(dst.Path()));
    EXPECT_EQ("already here", ReadFile(dst / L"a.jpg"));
    EXPECT_EQ("b.jpg", ReadFile(dst / L"b.jpg"));
    EXPECT_EQ((Strings{L"b.jpg", L"c.jpg"}), Names(made));
}
