// TarkLanguage: the maker's language library. It knows the folders that hold the
// language resource modules, calls each module back when it is time to link its
// resources, and answers which resource module belongs to which module key.
#pragma once

#include <windows.h>
#include <afxstr.h>

#ifdef TARKLANGUAGE_BUILD
#define TARKLANG_API __declspec(dllexport)
#else
#define TARKLANG_API __declspec(dllimport)
#endif

// The callback a module leaves with the library; the argument is the language name.
typedef void (*LANGUAGE_LINK_CALLBACK)(CString);

// One record made by AddModuleInfo, as the library keeps it.
struct CLanguageModuleInfo
{
    CString strModuleFile;   // the module's full file name
    CString strText2;
    CString strResourcePath; // the resource module's full path; empty when none loaded
    CString strText4;
    int nKind = 0;
    HINSTANCE hResource = nullptr;
    CString strText7;
    bool bFlag = false;
    CString strText9;
};

class CLanguageState;

class TARKLANG_API CConnectLanguage
{
public:
    // The process-wide instance.
    static CConnectLanguage& Instance();

    CConnectLanguage(const CConnectLanguage&) = delete;
    CConnectLanguage& operator=(const CConnectLanguage&) = delete;

    // Folder of the current language's resource modules, and the fallback folder.
    // Both are set by the host; empty until then.
    void SetPath(LPCWSTR pszFolder);
    void SetAltPath(LPCWSTR pszFolder);
    CString GetPath() const;
    CString GetAltPath() const;

    // Leaves a module's link callback under its module key. A second call for the
    // same key replaces the callback.
    void StoreCB(LANGUAGE_LINK_CALLBACK pfnCallback, const CString& strKey);
    int GetStoredCallbackCount() const;
    // Calls every stored callback whose module is still loaded, in the order they
    // were stored, passing the language name; returns how many were called.
    // The host decides when (usually once its paths are set).
    int CallStoredCallbacks(LPCWSTR pszLanguage);

    // Records a module and its resource module. The module key under which
    // GetModuleResourceHandle answers is the module file's base name.
    void AddModuleInfo(CString strModuleFile, CString strText2, CString strResourcePath,
                       CString strText4, int nKind, HINSTANCE hResource,
                       const CString& strText7, bool bFlag, CString strText9);
    int GetModuleInfoCount() const;
    bool GetModuleInfo(int nIndex, CLanguageModuleInfo* pInfo) const;

    // The resource module recorded last for the key (case-insensitive), or null.
    HINSTANCE GetModuleResourceHandle(const CString& strKey) const;

    // The lock around switching the framework's current resource handle.
    // Recursive: the same thread may take it again.
    void GetResLock();
    void FreeResLock();

private:
    CConnectLanguage();
    ~CConnectLanguage();
    CLanguageState* m_pState;
};
