// Export macro of TarkBrowserUtil.dll.
#pragma once

#ifdef TARKBROWSERUTIL_BUILD
#define BRWSUTIL_API __declspec(dllexport)
#else
#define BRWSUTIL_API __declspec(dllimport)
#endif

// Functions exported without C++ name decoration (looked up by name by hosts).
#define BRWSUTIL_C_API extern "C" BRWSUTIL_API
