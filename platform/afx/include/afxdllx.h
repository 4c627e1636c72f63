// Framework subset: for extension modules. The module's own DllMain calls
// AfxInitExtensionModule on attach and AfxTermExtensionModule on detach; no
// extra entry hook is needed because all modules share one framework state.
#pragma once

#include "afxwin.h"
