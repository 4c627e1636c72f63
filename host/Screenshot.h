// Screenshots for the sample host's demo and README: a rectangle of the screen
// as it is shown now, saved as a PNG file.
#pragma once

#include <windows.h>

// Copies rcScreen (screen coordinates, clipped to the screen) and writes it
// to pszFile as PNG. false when nothing could be captured or written.
bool SaveScreenRectAsPng(const RECT& rcScreen, const wchar_t* pszFile);

// Paints hWnd and everything it owns that is visible now, then saves the
// union of their window rectangles (a dialog and its open menu, say).
bool SaveWindowsAsPng(const HWND* phWindows, int nWindows, const wchar_t* pszFile);
