#include "host/FolderPicker.h"

#include <BrwsForFolderDlg.h>

namespace {

const int kHistoryLength = 12;

} // namespace

bool PickFolder(CWnd* pParent, const CString& strInitial, const CString& strTitle, CString& strChosen)
{
    CBrwsForFolderDlg dialog(-1, pParent);
    // The settings go through the interface, as they would for a host that
    // only has the factory's pointer; the title is the class's own field.
    VBrwsForFolderDlg& settings = dialog;
    settings.SetHistory(HOST_PICKER_SECTION, L"History", kHistoryLength);
    settings.SetFavoritesHistory(HOST_PICKER_SECTION, L"Favorites");
    settings.SetSaveStartPlacement(TRUE, HOST_PICKER_SECTION, L"Window");
    if (!strInitial.IsEmpty())
        settings.SetInitialFolder(strInitial);
    dialog.m_strTitle = strTitle;
    if (settings.Do() != IDOK)
        return false;
    CString strPath = settings.GetPathName(FALSE);
    if (strPath.IsEmpty())
        return false;
    strChosen = strPath;
    return true;
}
