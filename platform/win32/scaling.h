#pragma once

// Fonts are given in points (72 to the inch) and layouts in twips (controls::twipsToPixels);
// Windows places controls in the pixels of the monitor the window is on. The program is aware of
// each monitor's DPI, so a window is laid out anew, fonts included, at its monitor's DPI.

#include <windows.h>

namespace norvessa::platform::win32 {

// The size of a font's em in pixels: 10.5, 12, 14.25, 15.75, 18 and 26.25 pt are 14, 16, 19, 21,
// 24 and 35 px at 96 DPI.
int pointsToPixels(double points, int dpi);

// The DPI of the monitor the window is on; the system's DPI on Windows before 10 (version 1607).
int windowDpi(HWND window);

// The primary monitor's rectangle, or its work area (the desktop less its task bar), where the
// program's windows are first placed, and that monitor's DPI.
RECT primaryMonitorArea(bool workAreaOnly);
int primaryMonitorDpi();

// The outer size of a window whose client area has the given size, with the window's styles,
// at the given DPI.
SIZE windowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, int dpi);

}  // namespace norvessa::platform::win32
