#include "platform/win32/message_loop.h"

#include <string_view>

#include "platform/win32/message_window.h"

namespace norvessa::platform::win32 {
namespace {

bool isPushButton(HWND control) {
    wchar_t className[16] = {};
    if (GetClassNameW(control, className, 16) == 0 ||
        std::wstring_view(className) != std::wstring_view(L"Button")) {
        return false;
    }
    const auto type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool modifierHeld() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

void dispatch(MSG& message) {
    if (!handleDialogKeys(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

bool handleDialogKeys(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    const HWND window = GetAncestor(message.hwnd, GA_ROOT);
    if (!MessageWindow::isProgramWindow(window)) {
        return false;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        // The dialog manager would send the window an IDOK command instead; the buttons here
        // have no default, and Enter means the button with the focus. A held key's repeats and
        // Ctrl or Shift with Enter press nothing.
        const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
        if (isPushButton(message.hwnd) && !repeated && !modifierHeld()) {
            SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        }
        return true;
    }
    return IsDialogMessageW(window, &message) != FALSE;
}

int runMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        dispatch(message);
    }
    return static_cast<int>(message.wParam);
}

void processPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

}  // namespace norvessa::platform::win32
