// The order of the framework's resource search (the current resource handle,
// then the chain's entries newest first, then its system entries), which
// entries a module's termination removes, and tooltips whose texts the search
// finds. Two resource-only DLLs (A and B) have overlapping ids.
#include <afxwin.h>
#include <afxcmn.h>

#include "res/ids.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CString Load(UINT nID)
{
    CString s;
    return s.LoadString(nID) ? s : CString(L"<none>");
}

std::vector<HMODULE> ChainModules()
{
    std::vector<HMODULE> modules;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary* p = AfxGetModuleState()->m_libraryList.GetHead(); p != nullptr; p = p->m_pNextDLL)
        modules.push_back(p->m_hModule);
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return modules;
}

class ResourceSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_hA && m_hB);
        ASSERT_TRUE(ChainModules().empty());
        ASSERT_TRUE(AfxInitExtensionModule(m_recordA, m_hA));
        ASSERT_TRUE(AfxInitExtensionModule(m_recordB, m_hB));
    }

    void TearDown() override
    {
        AfxSetResourceHandle(m_hExe);
        AfxTermExtensionModule(m_recordA, TRUE); // every entry a test made
        FreeLibrary(m_hA);
        FreeLibrary(m_hB);
    }

    HMODULE m_hExe = GetModuleHandleW(nullptr);
    HMODULE m_hA = LoadLibraryW(L"afx_test_res_a.dll");
    HMODULE m_hB = LoadLibraryW(L"afx_test_res_b.dll");
    AFX_EXTENSION_MODULE m_recordA = {};
    AFX_EXTENSION_MODULE m_recordB = {};
};

} // namespace

TEST_F(ResourceSearchTest, CurrentHandleThenNewestEntryFirstThenSystemEntries)
{
    EXPECT_EQ(m_hExe, AfxGetResourceHandle());
    EXPECT_STREQ(L"<none>", Load(IDS_ONLY_IN_A));
    new CDynLinkLibrary(m_recordA);
    new CDynLinkLibrary(m_recordB, TRUE);
    // The system entry is the newest but comes last; its strings are still found.
    EXPECT_STREQ(L"alpha shared", Load(IDS_IN_BOTH));
    EXPECT_STREQ(L"beta only", Load(IDS_ONLY_IN_B));
    // A has the string block of this id, but the string is empty.
    EXPECT_STREQ(L"beta fills the gap", Load(IDS_EMPTY_IN_A));
    EXPECT_EQ(m_hB, AfxFindStringResourceHandle(IDS_EMPTY_IN_A));
    EXPECT_EQ(m_hA, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_DATA_IN_BOTH), RT_RCDATA));

    new CDynLinkLibrary(m_hB, m_hB);
    EXPECT_STREQ(L"beta shared", Load(IDS_IN_BOTH));
    EXPECT_EQ(m_hB, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_DATA_IN_BOTH), RT_RCDATA));
    // Nobody has it: the current resource handle is the answer.
    EXPECT_EQ(m_hExe, AfxFindResourceHandle(MAKEINTRESOURCEW(999), RT_RCDATA));
    EXPECT_EQ(nullptr, AfxFindStringResourceHandle(999));

    AfxSetResourceHandle(m_hA);
    EXPECT_STREQ(L"alpha shared", Load(IDS_IN_BOTH));
    EXPECT_EQ(m_hA, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_DATA_IN_BOTH), RT_RCDATA));
    EXPECT_STREQ(L"beta only", Load(IDS_ONLY_IN_B));
}

// A module whose resources live in another file, as a language module's do:
// its termination removes the entries of its code module, whatever their
// resources, and leaves the others.
TEST_F(ResourceSearchTest, TerminationRemovesTheModulesOwnEntriesOrAll)
{
    AFX_EXTENSION_MODULE language = {};
    ASSERT_TRUE(AfxInitExtensionModule(language, m_hExe));
    language.hResource = m_hB;
    new CDynLinkLibrary(m_recordA);
    new CDynLinkLibrary(language);
    new CDynLinkLibrary(m_hExe, m_hA);
    EXPECT_STREQ(L"beta only", Load(IDS_ONLY_IN_B));

    AfxTermExtensionModule(language);
    EXPECT_EQ(std::vector<HMODULE>{m_hA}, ChainModules());
    EXPECT_STREQ(L"<none>", Load(IDS_ONLY_IN_B));
    new CDynLinkLibrary(language);
    AfxTermExtensionModule(m_recordB, TRUE);
    EXPECT_TRUE(ChainModules().empty());
}

// A tool's text is looked up when shown, in the module that has its string
// block (here the older entry); the tool is told to subclass its window, since
// nobody relays its mouse messages.
TEST_F(ResourceSearchTest, ToolTipTextComesFromTheModuleThatHasIt)
{
    new CDynLinkLibrary(m_recordA);
    new CDynLinkLibrary(m_recordB);
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CButton button;
    ASSERT_TRUE(button.Create(L"Go", BS_PUSHBUTTON | WS_VISIBLE, CRect(10, 10, 60, 30), &frame, 1));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&frame));
    EXPECT_EQ(frame.m_hWnd, GetWindow(tips.m_hWnd, GW_OWNER));
    ASSERT_TRUE(tips.AddTool(&button, IDS_TIP_ONLY_IN_A));

    wchar_t szText[64] = {};
    TTTOOLINFOW ti = {TTTOOLINFOW_V2_SIZE, 0, frame.m_hWnd, reinterpret_cast<UINT_PTR>(button.m_hWnd)};
    ASSERT_TRUE(tips.SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), ti.uFlags & (TTF_IDISHWND | TTF_SUBCLASS));
    ti.lpszText = szText; // the tool's own text was its string's id
    tips.SendMessage(TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(L"alpha's tip", szText);
}
