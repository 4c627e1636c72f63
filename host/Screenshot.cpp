#include "host/Screenshot.h"

#include "module/Holders.h"

#include <wincodec.h>

namespace {

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
// popup below the window that opened it. Empty when a step fails.
CGdiObjectHolder<HBITMAP> CopyScreen(const RECT& rc, const HWND* phOnTop, int nOnTop)
{
    CScreenDC screen;
    HDC hMemory = ::CreateCompatibleDC(screen.Get());
    if (hMemory == nullptr)
        return CGdiObjectHolder<HBITMAP>();
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    CGdiObjectHolder<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.Get(), cx, cy));
    if (bitmap)
    {
        HGDIOBJ hOld = ::SelectObject(hMemory, bitmap.Get());
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
            bitmap.Reset();
    }
    ::DeleteDC(hMemory);
    return bitmap;
}

bool WritePng(HBITMAP hBitmap, const wchar_t* pszFile)
{
    CComInit com;
    CComHolder<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.ReceiveVoid())))
        return false;
    CComHolder<IWICBitmap> bitmap;
    if (FAILED(factory->CreateBitmapFromHBITMAP(hBitmap, nullptr, WICBitmapIgnoreAlpha, bitmap.Receive())))
        return false;
    CComHolder<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Receive())) ||
        FAILED(stream->InitializeFromFilename(pszFile, GENERIC_WRITE)))
        return false;
    CComHolder<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Receive())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
        return false;
    CComHolder<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(frame.Receive(), nullptr)) || FAILED(frame->Initialize(nullptr)))
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
    CGdiObjectHolder<HBITMAP> bitmap = CopyScreen(rc, phOnTop, nOnTop);
    return bitmap && WritePng(bitmap.Get(), pszFile);
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
