#include "platform/win32/scaling.h"

#include <cmath>

#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {
namespace {

constexpr double kPointsPerInch = 72.0;

// The per-monitor calls arrived with Windows 10 (version 1607) and Windows 8.1; they are looked
// up so that the program still starts, at the system's DPI, on older systems.
template <typename Function>
Function systemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) {
        handle = LoadLibraryW(module);
    }
    if (handle == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

int systemDpi() {
    HDC screen = checked(GetDC(nullptr), "GetDC for the screen");
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

HMONITOR primaryMonitor() {
    return MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

}  // namespace

int pointsToPixels(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / kPointsPerInch));
}

int windowDpi(HWND window) {
    static const auto getDpiForWindow =
        systemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return systemDpi();
}

RECT primaryMonitorArea(bool workAreaOnly) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    checked(GetMonitorInfoW(primaryMonitor(), &info), "GetMonitorInfoW for the primary monitor");
    return workAreaOnly ? info.rcWork : info.rcMonitor;
}

int primaryMonitorDpi() {
    static const auto getDpiForMonitor =
        systemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (getDpiForMonitor != nullptr &&
        SUCCEEDED(getDpiForMonitor(primaryMonitor(), kEffectiveDpi, &dpiX, &dpiY)) && dpiY != 0) {
        return static_cast<int>(dpiY);
    }
    return systemDpi();
}

SIZE windowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, int dpi) {
    static const auto adjustForDpi =
        systemFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT outer{0, 0, client.cx, client.cy};
    if (adjustForDpi != nullptr) {
        checked(adjustForDpi(&outer, style, FALSE, extendedStyle, static_cast<UINT>(dpi)),
                "AdjustWindowRectExForDpi");
    } else {
        checked(AdjustWindowRectEx(&outer, style, FALSE, extendedStyle), "AdjustWindowRectEx");
    }
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

}  // namespace norvessa::platform::win32
