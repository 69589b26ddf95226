// The Windows program's start-up peer: the smallest Win32 program that shows a window of
// Norvessa's main window's client size holding one common-controls list view in report view, built
// with the same options. With NORVESSA_QUIT_AFTER_FIRST_SHOW set it ends at its first paint, as
// Norvessa.exe does.

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

namespace {

bool quitAfterFirstPaint = false;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            if (quitAfterFirstPaint) {
                PostQuitMessage(0);
            }
            return result;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    quitAfterFirstPaint = std::getenv("NORVESSA_QUIT_AFTER_FIRST_SHOW") != nullptr;
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"BareWindow";
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, 834, 559};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const HWND window = CreateWindowExW(
        0, L"BareWindow", L"bare window", style, CW_USEDEFAULT, CW_USEDEFAULT,
        outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    const HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT,
                        16, 88, 801, 225, window, nullptr, instance, nullptr);
    if (window == nullptr || list == nullptr) {
        return 1;
    }
    ShowWindow(window, show);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
