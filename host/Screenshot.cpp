#include "host/Screenshot.h"

#include <wincodec.h>

namespace {

// A COM interface reference released on every exit path.
template <class T>
class CComRef
{
public:
    CComRef() = default;
    ~CComRef()
    {
        if (m_p != nullptr)
            m_p->Release();
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    T** operator&() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

class CScreenDC
{
public:
    CScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~CScreenDC() { ::ReleaseDC(nullptr, m_hDC); }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

class CGdiBitmap
{
public:
    explicit CGdiBitmap(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}
    ~CGdiBitmap()
    {
        if (m_hBitmap != nullptr)
            ::DeleteObject(m_hBitmap);
    }
    CGdiBitmap(const CGdiBitmap&) = delete;
    CGdiBitmap& operator=(const CGdiBitmap&) = delete;
    HBITMAP Get() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap;
};

class CComInit
{
public:
    CComInit() : m_hr(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~CComInit()
    {
        if (SUCCEEDED(m_hr))
            ::CoUninitialize();
    }
    CComInit(const CComInit&) = delete;
    CComInit& operator=(const CComInit&) = delete;

private:
    HRESULT m_hr;
};

// Copies rc from the screen; the windows after the first are then drawn by
// themselves on top, since without a window manager the screen may show a
// popup below the window that opened it.
HBITMAP CopyScreen(const RECT& rc, const HWND* phOnTop, int nOnTop)
{
    CScreenDC screen;
    HDC hMemory = ::CreateCompatibleDC(screen.Get());
    if (hMemory == nullptr)
        return nullptr;
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    HBITMAP hBitmap = ::CreateCompatibleBitmap(screen.Get(), cx, cy);
    if (hBitmap != nullptr)
    {
        HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
        const BOOL bCopied = ::BitBlt(hMemory, 0, 0, cx, cy, screen.Get(), rc.left, rc.top, SRCCOPY);
        for (int i = 0; bCopied && i < nOnTop; ++i)
        {
            RECT rcWindow;
            ::GetWindowRect(phOnTop[i], &rcWindow);
            HDC hWindowDC = ::GetWindowDC(phOnTop[i]);
            ::BitBlt(hMemory, rcWindow.left - rc.left, rcWindow.top - rc.top, rcWindow.right - rcWindow.left,
                     rcWindow.bottom - rcWindow.top, hWindowDC, 0, 0, SRCCOPY);
            ::ReleaseDC(phOnTop[i], hWindowDC);
        }
        ::SelectObject(hMemory, hOld);
        if (!bCopied)
        {
            ::DeleteObject(hBitmap);
            hBitmap = nullptr;
        }
    }
    ::DeleteDC(hMemory);
    return hBitmap;
}

bool WritePng(HBITMAP hBitmap, const wchar_t* pszFile)
{
    CComInit com;
    CComRef<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
        return false;
    CComRef<IWICBitmap> bitmap;
    if (FAILED(factory->CreateBitmapFromHBITMAP(hBitmap, nullptr, WICBitmapIgnoreAlpha, &bitmap)))
        return false;
    CComRef<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(pszFile, GENERIC_WRITE)))
        return false;
    CComRef<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
        return false;
    CComRef<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)))
        return false;
    UINT cx = 0;
    UINT cy = 0;
    bitmap->GetSize(&cx, &cy);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetSize(cx, cy)) || FAILED(frame->SetPixelFormat(&format)) ||
        FAILED(frame->WriteSource(bitmap.Get(), nullptr)) || FAILED(frame->Commit()) ||
        FAILED(encoder->Commit()))
        return false;
    return true;
}

} // namespace

namespace {

bool SaveAsPng(const RECT& rcScreen, const HWND* phOnTop, int nOnTop, const wchar_t* pszFile)
{
    RECT rcDesktop = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT rc;
    if (pszFile == nullptr || !::IntersectRect(&rc, &rcScreen, &rcDesktop))
        return false;
    CGdiBitmap bitmap(CopyScreen(rc, phOnTop, nOnTop));
    return bitmap.Get() != nullptr && WritePng(bitmap.Get(), pszFile);
}

} // namespace

bool SaveScreenRectAsPng(const RECT& rcScreen, const wchar_t* pszFile)
{
    return SaveAsPng(rcScreen, nullptr, 0, pszFile);
}

bool SaveWindowsAsPng(const HWND* phWindows, int nWindows, const wchar_t* pszFile)
{
    RECT rcAll = {};
    for (int i = 0; i < nWindows; ++i)
    {
        HWND hWnd = phWindows[i];
        if (!::IsWindow(hWnd) || !::IsWindowVisible(hWnd))
            continue;
        // Everything must be drawn before the screen is read.
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        ::UnionRect(&rcAll, &rcAll, &rc);
    }
    ::GdiFlush();
    return !::IsRectEmpty(&rcAll) && SaveAsPng(rcAll, phWindows + 1, nWindows - 1, pszFile);
}
