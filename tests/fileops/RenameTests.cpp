// Rename through the real shell, checked on disk afterwards.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

class RenameTest : public FileOpTest
{
protected:
    void SetUp() override { WriteFile(src / L"a.jpg", "picture"); }
    int Rename(const CBFile& what, const wchar_t* name, CBFile** ppNew)
    {
        return Code(RenameBFile(nullptr, from.get(), what, name, ppNew));
    }

    const FILETIME created = {0x11111111, 0x01D00000}, written = {0x22222222, 0x01D10000};
    std::unique_ptr<CBFile> file{
        CreateShellFile(L"a.jpg", (src / L"a.jpg").c_str(), &created, &written, FILE_ATTRIBUTE_ARCHIVE, 7)};
};

} // namespace

// A change of case only is a rename too: the old name still "exists"
// without regard to case, so only the name on disk tells whether it took.
// The object handed back keeps the old one's times, attributes and size.
TEST_F(RenameTest, RenamesAndHandsBackAnObjectWithTheOldValues)
{
    for (const wchar_t* name : {L"A.JPG", L"b.jpg"})
    {
        SCOPED_TRACE(testing_support::Narrow(name));
        const std::wstring oldName = Str(file->m_strName);
        CBFile* pNew = nullptr;
        NoDialogExpected quiet;
        EXPECT_EQ(0, Rename(*file, name, &pNew));
        std::unique_ptr<CBFile> renamed(pNew);
        ASSERT_TRUE(renamed);
        EXPECT_EQ((Strings{name}), Listing(src.Path()));
        EXPECT_EQ("picture", ReadFile(src / name));
        EXPECT_EQ(std::make_pair(std::wstring(name), src / name),
                  std::make_pair(Str(renamed->m_strName), Str(renamed->m_strPath)));
        EXPECT_EQ(0, CompareFileTime(&created, &renamed->m_ftCreation) | CompareFileTime(&written, &renamed->m_ftLastWrite));
        EXPECT_EQ(std::make_pair(DWORD(FILE_ATTRIBUTE_ARCHIVE), DWORD(7)), std::make_pair(renamed->m_dwAttribs, renamed->m_dwSize));
        EXPECT_EQ(oldName, Str(file->m_strName)) << "the passed object is not changed";
        file.reset(renamed.release());
    }
}

// The shell does not replace a file by renaming, nor rename a file in use.
// A missing file is shown with OK only, then 207.
TEST_F(RenameTest, ATakenNameAFileInUseOrAMissingFileKeepsEverythingAsItWas)
{
    WriteFile(src / L"b.jpg", "other");
    CScopedFileHandle lock(CreateFileW((src / L"a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid());
    CBFile* pNew = nullptr;
    {
        NoDialogExpected quiet;
        EXPECT_EQ(ZEC_RENAME_FAILED, Rename(*file, L"c.jpg", &pNew));
        EXPECT_EQ(ZEC_RENAME_FAILED, Rename(*file, L"A.jpg", &pNew));
        lock.Reset();
        EXPECT_EQ(ZEC_RENAME_FAILED, Rename(*file, L"b.jpg", &pNew));
    }
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ((Strings{L"a.jpg", L"b.jpg"}), Listing(src.Path()));
    EXPECT_EQ("picture", ReadFile(src / L"a.jpg"));
    EXPECT_EQ("other", ReadFile(src / L"b.jpg"));
    ASSERT_TRUE(DeleteFileW((src / L"a.jpg").c_str()));
    PromptView view;
    EXPECT_EQ(ZEC_FILES_NOT_FOUND,
              WithPromptAnswered(Clicking(IDOK), &view, [&] { return Rename(*file, L"c.jpg", &pNew); }));
    EXPECT_EQ(nullptr, pNew);
    EXPECT_EQ(ResourceText(IDS_BRWS_RENAME_NOTFOUND), view.message);
    EXPECT_EQ((Strings{src / L"a.jpg"}), view.fileLines);
    EXPECT_EQ(std::vector<int>(1, IDOK), view.buttons);
    EXPECT_EQ((Strings{L"b.jpg"}), Listing(src.Path()));
}
