// Framework subset, base layer: Windows headers, the export macro, the
// framework's diagnostic macros and the handful of types every family shares.
#pragma once

#ifndef UNICODE
#error "The framework subset is wide only: define UNICODE and _UNICODE"
#endif

#include <windows.h>
#include <tchar.h>

#include <stddef.h>
#include <new>

#ifdef AFX_SUBSET_BUILD
#define AFX_API __declspec(dllexport)
#else
#define AFX_API __declspec(dllimport)
#endif

// Names that framework code spells in its own way.
#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#ifndef afx_msg
#define afx_msg
#endif

class CWnd;

// Diagnostics, as in the framework's release build: TRACE costs nothing, and
// ENSURE always checks and throws CInvalidArgException* on failure.
[[noreturn]] AFX_API void AFXAPI AfxThrowInvalidArgException();

#define TRACE(...) ((void)0)
#define ENSURE(cond) do { if (!(cond)) ::AfxThrowInvalidArgException(); } while (0)

// An opaque list position; null means "no element".
struct __POSITION
{
};
typedef __POSITION* POSITION;
