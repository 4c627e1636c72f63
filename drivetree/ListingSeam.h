// A seam for tests of the drive tree: the shell folder that a listing thread
// lists can be replaced, so that a test can make a listing block until it
// lets go, or fail. Exported for the tests; not part of what a host uses.
#pragma once

#include "BrwsUtilExport.h"

#include <shlobj.h>

// Called on the listing thread with the absolute list of the folder to list.
// S_OK with *ppFolder set: that folder (the caller's reference) is listed;
// S_FALSE: the folder is bound as usual; a failure: the listing fails.
typedef HRESULT(CALLBACK* PFN_BRWS_LISTING_BIND)(LPCITEMIDLIST pidlFull, IShellFolder** ppFolder);

// Null puts the usual binding back.
BRWSUTIL_API void BrwsSetListingBindHook(PFN_BRWS_LISTING_BIND pfnHook);

// The fillings of folder items, in every tree of the process, that have begun
// and not ended: one ends when what its listing found is shown, or when it is
// stopped (its item collapsed or deleted, its tree destroyed).
BRWSUTIL_API LONG BrwsFillingsInProgress();
