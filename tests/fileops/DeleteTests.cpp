// Delete through the real shell, with its own confirmation answered as a
// person would, into the recycle bin and for good.
#include "FileOpsTestEnv.h"

using namespace fileops_test;

using DeleteTest = FileOpTest;

// Names unique to this run, so that the recycle bin, which outlives the run,
// cannot hold an older file of the same name. The file stays when the shell
// is told No (a stop) and when it cannot delete a file in use (a failure).
TEST_F(DeleteTest, ToTheRecycleBinOrForGoodOnlyAfterTheShellsConfirmation)
{
    const std::wstring trash = testing_support::TrashFiles(), a = Leaf(src.Path()) + L"-a.jpg";
    const std::wstring gone = Leaf(src.Path()) + L"-gone.jpg", b = Leaf(src.Path()) + L"-b.jpg";
    ASSERT_FALSE(trash.empty());
    testing_support::TrashEntries trashed({a, b});
    Make({L"other.jpg"});
    for (const std::wstring& first : {a, gone})
    {
        const bool bToRecycleBin = first == a;
        SCOPED_TRACE(bToRecycleBin ? "recycle bin" : "for good");
        Make({first, b});
        CBFileList notFound;
        EXPECT_EQ(0, Delete({first, b}, bToRecycleBin, IDYES, &notFound));
        EXPECT_TRUE(notFound.IsEmpty());
        EXPECT_EQ((Strings{L"other.jpg"}), Listing(src.Path()));
        EXPECT_EQ(bToRecycleBin ? testing_support::Narrow(a) : "<missing>", ReadFile(trash + L"\\" + first));
    }
    EXPECT_EQ(ZEC_USER_STOPPED, Delete({L"other.jpg"}, true, IDNO));
    CScopedFileHandle lock(CreateFileW((src / L"other.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.IsValid()) << "gone after No";
    EXPECT_EQ(ZEC_SHELL_OP_FAILED, Delete({L"other.jpg"}, false));
    lock.Reset();
    EXPECT_EQ("other.jpg", ReadFile(src / L"other.jpg"));
}
