// browse_dialog_probe FOLDER
// Opens the browse-for-folder dialog on FOLDER, prints how it came out at this
// process's screen resolution, one "name=value" line each, and cancels it:
//   dpi=144
//   client=W,H   tree=L,T,R,B   field=L,T,R,B   ok=L,T,R,B   (pixels)
//   fontHeight=17   buttonIcon=24   treeIcon=24               (pixels)
// A process reads its resolution once, as it starts: the tests start this one
// at the resolutions they compare.
#include <afxwin.h>
#include <TarkLanguage.h>
#include <commctrl.h>
#include <ole2.h>

#include "BrwsForFolderDlg.h"
#include "BrwsResourceIds.h"
#include "DialogDriver.h"
#include "IconSize.h"
#include "TestProcess.h"

#include <stdio.h>

namespace {

CWinApp theApp(L"BrowseDialogProbe");

void PrintRect(const char* name, HWND hDlg, int id)
{
    RECT rc = {};
    HWND hControl = GetDlgItem(hDlg, id);
    GetWindowRect(hControl, &rc);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    printf("%s=%ld,%ld,%ld,%ld\n", name, rc.left, rc.top, rc.right, rc.bottom);
}

void PrintDialog(HWND hDlg)
{
    HDC hdc = GetDC(nullptr);
    printf("dpi=%d\n", GetDeviceCaps(hdc, LOGPIXELSX));
    ReleaseDC(nullptr, hdc);
    RECT rcClient = {};
    GetClientRect(hDlg, &rcClient);
    printf("client=%ld,%ld\n", rcClient.right, rcClient.bottom);
    PrintRect("tree", hDlg, IDC_BRWS_FOLDER_TREE);
    PrintRect("field", hDlg, IDC_BRWS_FOLDER_FIELD);
    PrintRect("ok", hDlg, IDOK);
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hDlg, WM_GETFONT, 0, 0)), sizeof(font), &font);
    printf("fontHeight=%ld\n", font.lfHeight < 0 ? -font.lfHeight : font.lfHeight);
    printf("buttonIcon=%d\n", testing_support::IconWidth(reinterpret_cast<HICON>(
                                  SendDlgItemMessageW(hDlg, IDC_BRWS_LOCATE, BM_GETIMAGE, IMAGE_ICON, 0))));
    int cx = 0;
    int cy = 0;
    HWND hTree = GetDlgItem(hDlg, IDC_BRWS_FOLDER_TREE);
    ImageList_GetIconSize(TreeView_GetImageList(hTree, TVSIL_NORMAL), &cx, &cy);
    printf("treeIcon=%d\n", cx);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    // As the sample host's manifest says for it: the dialog is drawn for the
    // screen's resolution, not stretched from 96.
    SetProcessDPIAware();
    // The tests' profile key, which they empty after each test.
    theApp.SetRegistryKey(L"TarkBrowseDlgTests");
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.SetPath(testing_support::BinaryFolder().c_str());
    language.SetAltPath(L"");
    if (language.CallStoredCallbacks(L"English") < 1)
        return 3;

    CBrwsForFolderDlg dlg;
    dlg.SetInitialFolder(argv[1]);
    testing_support::DialogDriver driver;
    driver.Then([](HWND hDlg) {
        PrintDialog(hDlg);
        testing_support::DialogDriver::Click(hDlg, IDCANCEL);
    });
    driver.Start();
    const INT_PTR result = dlg.DoModal();
    fflush(stdout);
    OleUninitialize();
    return result == IDCANCEL && driver.Finished() ? 0 : 1;
}
