// Completion of typed paths in the browse dialog's folder field, as the
// system's file dialogs complete them: the shell's own completion limited to
// folders (SHAutoComplete) where the system has one; where it reports that it
// attached nothing (Wine's is a stub), the shell's completion control fed by a
// small list of the typed parent folder's subfolders.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include "module/Holders.h"

class CBrwsFolderCompletion
{
public:
    // Completes in the edit part of the combo box hCombo; false when no kind
    // of completion could be attached (the field then works as before).
    bool Attach(HWND hCombo);
    // Whether the suggestions are showing. Enter and Escape then belong to
    // them (choose, close) rather than to the dialog's OK and Cancel.
    bool IsListShown() const;

private:
    // Only for the completion fed by our own list; SHAutoComplete's answers
    // the dialog manager's questions about keys by itself.
    CComHolder<IAutoCompleteDropDown> m_dropDown;
};
