// The user's Explorer setting for hidden files and the per-user shell policies
// that the browse dialog honours; read from HKEY_CURRENT_USER, never written.
#pragma once

#include <windows.h>
#include "BrwsUtilExport.h"

// 1 when Explorer is set to show hidden files ("Hidden" = 1 under
// ...\Explorer\Advanced, or, only when that key is missing, the "show all
// objects" bit of "ShellState"); 0 otherwise, including on any registry failure.
BRWSUTIL_API int ShowHiddenFiles();

// Policy switches, each read from the registry at most once per object: make a
// new object to see later changes. A switch is on only when its value holds
// exactly the number 1; anything else, or a missing key or value, is off.
class BRWSUTIL_API CShellPolicyCache
{
public:
    CShellPolicyCache();

    // Comdlg32 policy "NoFileMru": no list of recently used files or folders.
    bool NoFileMru();
    // Comdlg32 policy "NoPlacesBar": no places bar in file dialogs.
    bool NoPlacesBar();
    // Explorer policy "NoRecentDocsHistory": keep no history of recent documents.
    bool NoRecentDocsHistory();

    static const int sm_knSlots = 12;

private:
    bool ReadSlot(int nSlot, const wchar_t* pszKey, const wchar_t* pszValue);

    // Fixed layout, since hosts build the object in their own frames: the read
    // flags of all slots, then their values, one byte each.
    BYTE m_abRead[sm_knSlots];
    BYTE m_abValue[sm_knSlots];
};
