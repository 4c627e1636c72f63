// Looking at the framework's chain of extension-module entries from tests.
#pragma once

#include <afxwin.h>
#include <afxdllx.h>

#include <vector>

namespace testing_support {

// Entries of the current module state whose module handle is hModule, newest first.
inline std::vector<CDynLinkLibrary*> ChainEntries(HMODULE hModule)
{
    std::vector<CDynLinkLibrary*> entries;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary* entry = AfxGetModuleState()->m_libraryList.GetHead(); entry; entry = entry->m_pNextDLL)
        if (entry->m_hModule == hModule)
            entries.push_back(entry);
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return entries;
}

} // namespace testing_support
