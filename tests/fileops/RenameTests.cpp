// Rename through the real shell, checked on disk afterwards.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

class RenameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFile(dir / L"a.jpg", "picture");
        folder = ShellFolder(dir.Path());
        FILETIME created = {0x11111111, 0x01D00000};
        FILETIME written = {0x22222222, 0x01D10000};
        file.reset(CreateShellFile(L"a.jpg", (dir / L"a.jpg").c_str(), &created, &written,
                                   FILE_ATTRIBUTE_ARCHIVE, 7));
    }

    ScratchFolder dir{L"ren"};
    std::unique_ptr<CBFolder> folder;
    std::unique_ptr<CBFile> file;
};

} // namespace

// A change of case only is a rename too: the old name still "exists"
// without regard to case, so only the name on disk tells whether it took.
TEST_F(RenameTest, RenamesAndHandsBackAnObjectWithTheOldValues)
{
    for (const wchar_t* name : {L"A.JPG", L"b.jpg"})
    {
        SCOPED_TRACE(testing_support::Narrow(name));
        const std::wstring oldName = Str(file->m_strName);
        CBFile* pNew = nullptr;
        {
            NoDialogExpected quiet;
            EXPECT_EQ(0, Code(RenameBFile(nullptr, folder.get(), *file, name, &pNew)));
        }
        std::unique_ptr<CBFile> renamed(pNew);
        ASSERT_TRUE(renamed);
        EXPECT_EQ((std::vector<std::wstring>{name}), Listing(dir.Path()));
        EXPECT_EQ("picture", ReadFile(dir / name));
        EXPECT_EQ(name, Str(renamed->m_strName));
        EXPECT_EQ(dir / name, Str(renamed->m_strPath));
        EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), renamed->m_dwAttribs);
        EXPECT_EQ(7u, renamed->m_dwSize);
        EXPECT_EQ(0x11111111u, renamed->m_ftCreation.dwLowDateTime);
        EXPECT_EQ(0x01D10000u, renamed->m_ftLastWrite.dwHighDateTime);
        EXPECT_EQ(oldName, Str(file->m_strName)) << "the passed object is not changed";
        file.reset(renamed.release());
    }
}

TEST_F(RenameTest, RefusesNewNamesThatLeaveTheFolder)
{
    ScratchFolder outside{L"out"};
    std::wstring outsideName = outside.Path().substr(outside.Path().rfind(L'\\') + 1);
    std::wstring escape = L"..\\" + outsideName + L"\\a.jpg";
    const wchar_t* names[] = {escape.c_str(), L"sub/b.jpg", L"sub\\b.jpg", L"C:b.jpg", L"b.jpg:stream",
                              L"b\n.jpg", L".", L"..", L"...", L"", nullptr, L"*.jpg"};
    NoDialogExpected quiet;
    for (const wchar_t* name : names)
    {
        CBFile* pNew = nullptr;
        EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameBFile(nullptr, folder.get(), *file, name, &pNew)))
            << testing_support::Narrow(name ? name : L"(null)");
        EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameFSFile(nullptr, folder.get(), *file, name, &pNew)));
        EXPECT_EQ(nullptr, pNew);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(dir.Path()));
    EXPECT_TRUE(Listing(outside.Path()).empty());
}

TEST_F(RenameTest, RefusesBadOutPointersAndFoldersWithoutPaths)
{
    CBFile* pHeld = file.get();
    auto virtualFolder = PathFolder(L"");
    CBFile empty;
    CBFile* pNew = nullptr;
    NoDialogExpected quiet;
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameBFile(nullptr, folder.get(), *file, L"b.jpg", &pHeld)));
    EXPECT_EQ(file.get(), pHeld);
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameBFile(nullptr, folder.get(), *file, L"b.jpg", nullptr)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameBFile(nullptr, virtualFolder.get(), *file, L"b.jpg", &pNew)));
    EXPECT_EQ(ZEC_INVALID_ARGUMENTS, Code(RenameBFile(nullptr, folder.get(), empty, L"b.jpg", &pNew)));
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(dir.Path()));
}

// The shell does not replace a file by renaming, nor rename a file in use.
TEST_F(RenameTest, ATakenNameOrAFileInUseKeepsEverythingAsItWas)
{
    WriteFile(dir / L"b.jpg", "other");
    CScopedFileHandle lock(CreateFileW((dir / L"a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid());
    CBFile* pNew = nullptr;
    {
        NoDialogExpected quiet;
        EXPECT_EQ(ZEC_RENAME_FAILED, Code(RenameBFile(nullptr, folder.get(), *file, L"c.jpg", &pNew)));
        EXPECT_EQ(ZEC_RENAME_FAILED, Code(RenameBFile(nullptr, folder.get(), *file, L"A.jpg", &pNew)));
        lock.Reset();
        EXPECT_EQ(ZEC_RENAME_FAILED, Code(RenameBFile(nullptr, folder.get(), *file, L"b.jpg", &pNew)));
    }
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg", L"b.jpg"}), Listing(dir.Path()));
    EXPECT_EQ("picture", ReadFile(dir / L"a.jpg"));
    EXPECT_EQ("other", ReadFile(dir / L"b.jpg"));
}

TEST_F(RenameTest, AMissingFileIsShownWithOKOnlyThen207)
{
    ASSERT_TRUE(DeleteFileW((dir / L"a.jpg").c_str()));
    CBFile* pNew = nullptr;
    PromptView view;
    EXPECT_EQ(ZEC_FILES_NOT_FOUND, WithPromptAnswered(IDOK, &view, [&] {
                  return Code(RenameBFile(nullptr, folder.get(), *file, L"b.jpg", &pNew));
              }));
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ(ResourceText(IDS_BRWS_RENAME_NOTFOUND), view.message);
    EXPECT_EQ((std::vector<std::wstring>{dir / L"a.jpg"}), view.fileLines);
    EXPECT_TRUE(view.okShown && !view.yesShown && !view.noShown);
    EXPECT_TRUE(Listing(dir.Path()).empty());
}

// A file object whose name points elsewhere is not found in the folder, and
// the file it points to keeps its name.
TEST_F(RenameTest, AFileNameReachingOutsideIsNotFound)
{
    ScratchFolder outside{L"out"};
    WriteFile(outside / L"secret.txt", "secret");
    std::wstring outsideName = outside.Path().substr(outside.Path().rfind(L'\\') + 1);
    std::unique_ptr<CBFile> escape(
        CreateShellFile((L"..\\" + outsideName + L"\\secret.txt").c_str(), L"", nullptr, nullptr, 0, 0));
    CBFile* pNew = nullptr;
    DialogDriver driver;
    driver.Then([](HWND hDlg) { DialogDriver::PostKey(GetFocus(), VK_ESCAPE); });
    driver.Start();
    EXPECT_EQ(ZEC_FILES_NOT_FOUND, Code(RenameBFile(nullptr, folder.get(), *escape, L"b.txt", &pNew)));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ((std::vector<std::wstring>{L"secret.txt"}), Listing(outside.Path()));
    EXPECT_EQ((std::vector<std::wstring>{L"a.jpg"}), Listing(dir.Path()));
}
