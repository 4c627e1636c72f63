#pragma once

#include <afxwin.h>

// Runs the path-field window; 0 when the user committed a path (printed).
int RunPathField(LPCWSTR pszInitialText);
