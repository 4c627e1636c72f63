// Linking TarkBrowserUtil into the host: the callback the language library calls,
// the extra chain entry for hosts with a framework state of their own, and the
// scoped holder that makes the module's language resources current.
#pragma once

#include <afxwin.h>
#include "BrwsUtilExport.h"

// The key under which the module registers with the language library; also the
// stem of the language resource module's file name (key + "RC.DLL").
#define BRWSUTIL_MODULE_KEY L"TarkBrowserUtil"
#define BRWSUTIL_RC_SUFFIX L"RC.DLL"

// Called by the language library when it is ready: loads the language resource
// module and joins it to the framework's resource search. The argument is unused.
BRWSUTIL_API void LinkExtension(CString strUnused);

// Adds one more chain entry for this module to the caller's framework state.
BRWSUTIL_API void ZBrwsUtilDLLCDynLink(void);

// Makes the language resources of a module the framework's current resources
// for the holder's lifetime, under the language library's resource lock.
// Never nest two holders; never copy one.
class BRWSUTIL_API CZarnResourceManager
{
public:
    explicit CZarnResourceManager(const CString& strModuleKey);
    virtual ~CZarnResourceManager();

    CZarnResourceManager(const CZarnResourceManager&) = delete;
    CZarnResourceManager& operator=(const CZarnResourceManager&) = delete;

protected:
    HINSTANCE m_hOldResource;       // current resource handle at construction
    HINSTANCE m_hLanguageResource;  // the module's language resources, or null
};
