// Delete through the real shell, with its own confirmation answered as a
// person would, into the recycle bin and for good.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

namespace {

class DeleteTest : public FileOpTest
{
protected:
    // Names unique to this run, so that the recycle bin, which outlives the
    // run, cannot hold an older file of the same name.
    std::wstring Unique(const wchar_t* name) { return Leaf(src.Path()) + L"-" + name; }
    // DeleteBFiles in src, with the shell's confirmation answered by nShellAnswer.
    int Delete(const Strings& names, bool bToRecycleBin, int nShellAnswer = IDYES, CBFileList* pNotFound = nullptr)
    {
        TestFiles files(names);
        return WithShellAnswer(nShellAnswer, [&] {
            return Code(DeleteBFiles(nullptr, from.get(), files.List(), pNotFound, bToRecycleBin));
        });
    }
};

} // namespace

TEST_F(DeleteTest, ToTheRecycleBinOrForGoodAfterTheShellsConfirmation)
{
    const std::wstring trash = testing_support::TrashFiles();
    ASSERT_FALSE(trash.empty());
    testing_support::TrashEntries trashed({Unique(L"a.jpg"), Unique(L"b.jpg")});
    Make({L"other.jpg"});
    for (bool bToRecycleBin : {true, false})
    {
        SCOPED_TRACE(bToRecycleBin ? "recycle bin" : "for good");
        const std::wstring a = Unique(bToRecycleBin ? L"a.jpg" : L"gone.jpg"), b = Unique(L"b.jpg");
        Make({a, b});
        CBFileList notFound;
        EXPECT_EQ(0, Delete({a, b}, bToRecycleBin, IDYES, &notFound));
        EXPECT_TRUE(notFound.IsEmpty());
        EXPECT_EQ((Strings{L"other.jpg"}), Listing(src.Path()));
        EXPECT_EQ(bToRecycleBin ? testing_support::Narrow(a) : "<missing>", ReadFile(trash + L"\\" + a));
    }
}

// The file stays when the shell is told No (a stop) and when it cannot
// delete a file in use (a failure).
TEST_F(DeleteTest, ADeclinedConfirmationOrAFileInUseKeepsTheFile)
{
    Make({L"a.jpg"});
    EXPECT_EQ(ZEC_USER_STOPPED, Delete({L"a.jpg"}, true, IDNO));
    CScopedFileHandle lock(CreateFileW((src / L"a.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid()) << "gone after No";
    EXPECT_EQ(ZEC_SHELL_OP_FAILED, Delete({L"a.jpg"}, false));
    lock.Reset();
    EXPECT_EQ("a.jpg", ReadFile(src / L"a.jpg"));
}
