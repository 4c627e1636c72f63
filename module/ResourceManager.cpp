#include "BrwsModule.h"

#include <TarkLanguage.h>

CZarnResourceManager::CZarnResourceManager(const CString& strModuleKey)
{
    CConnectLanguage& language = CConnectLanguage::Instance();
    language.GetResLock();
    m_hOldResource = AfxGetResourceHandle();
    m_hLanguageResource = language.GetModuleResourceHandle(strModuleKey);
    if (m_hLanguageResource != nullptr)
        AfxSetResourceHandle(m_hLanguageResource);
}

CZarnResourceManager::~CZarnResourceManager()
{
    CConnectLanguage::Instance().FreeResLock();
    AfxSetResourceHandle(m_hOldResource);
}
