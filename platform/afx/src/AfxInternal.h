// Helpers shared by the framework subset's own sources; not exported.
#pragma once

#include "afxwin.h"

namespace afx_internal {

// The text of string resource nID in module hInstance (not terminated) and
// its length, or null when the module has no such string or it is empty.
const wchar_t* GetStringResourceImage(HINSTANCE hInstance, UINT nID, int* pnLength);

} // namespace afx_internal
