// Looking at the framework's chain of extension-module entries from tests.
#pragma once

#include <afxwin.h>
#include <afxdllx.h>

namespace testing_support {

// Entries of the current module state whose module handle is hModule.
inline int CountChainEntries(HMODULE hModule)
{
    int count = 0;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary* entry = AfxGetModuleState()->m_libraryList.GetHead(); entry;
         entry = entry->m_pNextDLL)
        count += entry->m_hModule == hModule ? 1 : 0;
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return count;
}

// The newest entry for hModule, or null.
inline CDynLinkLibrary* FirstChainEntry(HMODULE hModule)
{
    CDynLinkLibrary* found = nullptr;
    AfxLockGlobals(CRIT_DYNLINKLIST);
    for (CDynLinkLibrary* entry = AfxGetModuleState()->m_libraryList.GetHead(); entry && !found;
         entry = entry->m_pNextDLL)
        if (entry->m_hModule == hModule)
            found = entry;
    AfxUnlockGlobals(CRIT_DYNLINKLIST);
    return found;
}

} // namespace testing_support
