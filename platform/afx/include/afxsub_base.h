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

// winbase.h maps GetCurrentTime() to GetTickCount(), which would rename
// CTime::GetCurrentTime wherever it is called.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

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
#ifndef DEBUG_NEW
#define DEBUG_NEW new
#endif
#ifndef AFX_INLINE
#define AFX_INLINE inline
#endif

// Classes of an extension module: exported while the module itself is built
// (_AFXEXT defined), imported by everyone else.
#ifdef _AFXEXT
#define AFX_EXT_CLASS __declspec(dllexport)
#define AFX_EXT_API __declspec(dllexport)
#define AFX_EXT_DATA __declspec(dllexport)
#else
#define AFX_EXT_CLASS __declspec(dllimport)
#define AFX_EXT_API __declspec(dllimport)
#define AFX_EXT_DATA __declspec(dllimport)
#endif

// The framework never runs in a separate per-module state here: host, modules
// and the framework share one application state, so managing the state is a
// no-op kept for source compatibility.
#define AFX_MANAGE_STATE(p) ((void)0)

class CWnd;

// Diagnostics. ASSERT and TRACE cost nothing unless _DEBUG is defined, as in
// the framework; VERIFY always evaluates its argument; ENSURE always checks and
// throws CInvalidArgException* on failure (what the framework does in release).
AFX_API void AFXAPI AfxAssertFailedLine(const char* lpszFileName, int nLine);
AFX_API void AFX_CDECL AfxTrace(LPCWSTR lpszFormat, ...);
[[noreturn]] AFX_API void AFXAPI AfxThrowInvalidArgException();

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : ::AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE ::AfxTrace
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#endif
#define ASSERT_VALID(p) ((void)0)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define ENSURE(cond) do { if (!(cond)) ::AfxThrowInvalidArgException(); } while (0)
#define ENSURE_ARG(cond) ENSURE(cond)
#define ENSURE_VALID(p) ENSURE((p) != nullptr)
#define TRACE0(sz) TRACE(L"%ls", _T(sz))

// An opaque list position; null means "no element".
struct __POSITION
{
};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)
