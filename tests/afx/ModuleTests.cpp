// The extension-module chain and the framework's resource search, with two
// resource-only DLLs (A and B) and the test extension module.
#include <afxwin.h>

#include "AfxTestPrint.h"
#include "TestExtModule.h"
#include "res/ids.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

CString Load(UINT nID)
{
    CString s;
    return s.LoadString(nID) ? s : CString(L"<none>");
}

std::vector<CDynLinkLibrary*> Chain()
{
    std::vector<CDynLinkLibrary*> entries;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary* p = AfxGetModuleState()->m_libraryList.GetHead(); p != nullptr; p = p->m_pNextDLL)
        entries.push_back(p);
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return entries;
}

class ResourceSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hA = LoadLibraryW(L"afx_test_res_a.dll");
        m_hB = LoadLibraryW(L"afx_test_res_b.dll");
        ASSERT_NE(nullptr, m_hA);
        ASSERT_NE(nullptr, m_hB);
        ASSERT_TRUE(Chain().empty());
        m_hOldResource = AfxGetResourceHandle();
        ASSERT_TRUE(AfxInitExtensionModule(m_recordA, m_hA));
        ASSERT_TRUE(AfxInitExtensionModule(m_recordB, m_hB));
    }

    void TearDown() override
    {
        AfxSetResourceHandle(m_hOldResource);
        AfxTermExtensionModule(m_recordA);
        AfxTermExtensionModule(m_recordB);
        EXPECT_TRUE(Chain().empty());
        FreeLibrary(m_hA);
        FreeLibrary(m_hB);
    }

    HMODULE m_hA = nullptr;
    HMODULE m_hB = nullptr;
    HINSTANCE m_hOldResource = nullptr;
    AFX_EXTENSION_MODULE m_recordA = {};
    AFX_EXTENSION_MODULE m_recordB = {};
};

} // namespace

TEST_F(ResourceSearchTest, StringsAreFoundOnlyWhileAChainEntryHasThem)
{
    EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetResourceHandle());
    EXPECT_EQ(CString(L"<none>"), Load(IDS_ONLY_IN_A));
    EXPECT_EQ(nullptr, AfxFindStringResourceHandle(IDS_ONLY_IN_A));

    CDynLinkLibrary* pEntry = new CDynLinkLibrary(m_recordA);
    EXPECT_EQ(m_hA, pEntry->m_hModule);
    EXPECT_EQ(m_hA, pEntry->m_hResource);
    EXPECT_FALSE(pEntry->m_bSystem);
    EXPECT_EQ(CString(L"alpha only"), Load(IDS_ONLY_IN_A));
    EXPECT_EQ(m_hA, AfxFindStringResourceHandle(IDS_ONLY_IN_A));
    EXPECT_EQ(CString(L"alpha only"), CString(MAKEINTRESOURCEW(IDS_ONLY_IN_A)));

    CString formatted;
    formatted.Format(IDS_FORMAT, 3, L"pears");
    EXPECT_EQ(CString(L"3 apples and pears"), formatted);

    AfxTermExtensionModule(m_recordA);
    EXPECT_TRUE(Chain().empty());
    EXPECT_EQ(CString(L"<none>"), Load(IDS_ONLY_IN_A));
    EXPECT_THROW(formatted.Format(IDS_FORMAT, 3, L"pears"), CInvalidArgException*);
}

TEST_F(ResourceSearchTest, CurrentHandleFirstThenNewestEntryFirst)
{
    new CDynLinkLibrary(m_recordA);
    new CDynLinkLibrary(m_recordB);
    ASSERT_EQ(2u, Chain().size());
    EXPECT_EQ(m_hB, Chain()[0]->m_hResource);

    EXPECT_EQ(CString(L"beta shared"), Load(IDS_IN_BOTH));
    EXPECT_EQ(CString(L"alpha only"), Load(IDS_ONLY_IN_A));
    EXPECT_EQ(m_hB, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_DATA_IN_BOTH), RT_RCDATA));
    EXPECT_EQ(m_hB, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_DATA_ONLY_IN_B), RT_RCDATA));
    // Nobody has it: the current resource handle is the answer.
    EXPECT_EQ(AfxGetResourceHandle(), AfxFindResourceHandle(MAKEINTRESOURCEW(999), RT_RCDATA));

    AfxSetResourceHandle(m_hA);
    EXPECT_EQ(CString(L"alpha shared"), Load(IDS_IN_BOTH));
    EXPECT_EQ(m_hA, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_DATA_IN_BOTH), RT_RCDATA));
    EXPECT_EQ(CString(L"beta only"), Load(IDS_ONLY_IN_B));
}

TEST_F(ResourceSearchTest, SystemEntriesComeLastAndEmptyStringsArePassedOver)
{
    new CDynLinkLibrary(m_recordA);
    new CDynLinkLibrary(m_recordB, TRUE);
    EXPECT_EQ(CString(L"alpha shared"), Load(IDS_IN_BOTH));
    EXPECT_EQ(CString(L"beta only"), Load(IDS_ONLY_IN_B));
    // A, first in the chain, has the string block of this id, but the string is empty.
    EXPECT_EQ(CString(L"beta fills the gap"), Load(IDS_EMPTY_IN_A));
    EXPECT_EQ(m_hB, AfxFindStringResourceHandle(IDS_EMPTY_IN_A));
}

TEST_F(ResourceSearchTest, TerminationRemovesTheModulesOwnEntriesOrAll)
{
    // A module whose resources live in another file, as with a language module.
    HMODULE hCodeModule = GetModuleHandleW(nullptr);
    AFX_EXTENSION_MODULE language = {};
    ASSERT_TRUE(AfxInitExtensionModule(language, hCodeModule));
    ASSERT_TRUE(AfxInitExtensionModule(language, m_hA));  // already initialised: unchanged
    EXPECT_EQ(hCodeModule, language.hModule);
    language.hResource = m_hB;

    new CDynLinkLibrary(m_recordA);
    new CDynLinkLibrary(language);
    new CDynLinkLibrary(hCodeModule, m_hA);
    ASSERT_EQ(3u, Chain().size());
    EXPECT_EQ(CString(L"beta only"), Load(IDS_ONLY_IN_B));

    AfxTermExtensionModule(language);
    std::vector<CDynLinkLibrary*> remaining = Chain();
    ASSERT_EQ(1u, remaining.size());
    EXPECT_EQ(m_hA, remaining[0]->m_hModule);
    EXPECT_EQ(CString(L"<none>"), Load(IDS_ONLY_IN_B));

    new CDynLinkLibrary(language);
    AfxTermExtensionModule(m_recordB, TRUE);
    EXPECT_TRUE(Chain().empty());
}

TEST_F(ResourceSearchTest, EntriesComeAndGoSafelyFromManyThreads)
{
    new CDynLinkLibrary(m_recordA);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
    {
        threads.emplace_back([this, t] {
            HMODULE hFake = reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x10000 * (t + 1)));
            for (int i = 0; i < 3000; ++i)
                delete new CDynLinkLibrary(hFake, m_hB);
        });
    }
    int wrong = 0;
    for (int i = 0; i < 3000; ++i)
    {
        if (Load(IDS_ONLY_IN_A) != L"alpha only")
            ++wrong;
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(0, wrong);
    ASSERT_EQ(1u, Chain().size());
    EXPECT_EQ(m_hA, Chain()[0]->m_hModule);
}

TEST(ExtensionModuleTest, TheModuleJoinsTheSearchWhenItLinksAndLeavesOnTermination)
{
    AFX_EXTENSION_MODULE& record = TestExtModuleRecord();
    HMODULE hExt = GetModuleHandleW(L"afx_test_ext.dll");
    ASSERT_NE(nullptr, hExt);
    EXPECT_TRUE(record.bInitialized);
    EXPECT_EQ(hExt, record.hModule);
    EXPECT_EQ(hExt, record.hResource);

    EXPECT_EQ(CString(L"<none>"), Load(IDS_IN_EXTENSION));
    CDynLinkLibrary* pEntry = TestExtLink();
    EXPECT_EQ(hExt, pEntry->m_hModule);
    EXPECT_EQ(CString(L"from the extension module"), Load(IDS_IN_EXTENSION));

    AfxTermExtensionModule(record);
    EXPECT_TRUE(Chain().empty());
    EXPECT_EQ(CString(L"<none>"), Load(IDS_IN_EXTENSION));
}
