#include "platform/win32/message_window.h"

#include <utility>

#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvessaWindow";

EscapedErrorHandler& escapedErrorHandler() {
    static EscapedErrorHandler handler;
    return handler;
}

}  // namespace

MessageWindow::~MessageWindow() {
    destroy();
}

bool MessageWindow::isProgramWindow(HWND window) {
    wchar_t className[64] = {};
    return window != nullptr && GetClassNameW(window, className, 64) > 0 &&
           std::wstring_view(className) == kWindowClass;
}

void MessageWindow::create(const std::string& name, const std::wstring& caption, DWORD style,
                           DWORD extendedStyle, RECT outer) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const ATOM windowClass = [instance] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = &MessageWindow::procedure;
        description.hInstance = instance;
        description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // Each window paints its own background.
        description.hbrBackground = nullptr;
        description.lpszClassName = kWindowClass;
        return checked(RegisterClassExW(&description), "RegisterClassExW");
    }();
    static_cast<void>(windowClass);
    checked(CreateWindowExW(extendedStyle, kWindowClass, caption.c_str(), style, outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                            nullptr, instance, this),
            "CreateWindowExW for the window " + name);
}

LRESULT MessageWindow::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MessageWindow::destroy() {
    if (window_ == nullptr) {
        return;
    }
    // Detached first: the destroy messages must not reach an object that is going away.
    const HWND window = std::exchange(window_, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    windowDestroyed();
    DestroyWindow(window);
}

LRESULT CALLBACK MessageWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MessageWindow*>(creation->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->windowDestroyed();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // No exception may unwind through the system's frames that called this procedure.
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (...) {
        handleEscapedError(std::current_exception());
        return 0;
    }
}

EscapedErrorHandler setEscapedErrorHandler(EscapedErrorHandler handler) {
    return std::exchange(escapedErrorHandler(), std::move(handler));
}

void handleEscapedError(std::exception_ptr error) noexcept {
    try {
        if (escapedErrorHandler()) {
            escapedErrorHandler()(std::move(error));
        }
    } catch (...) {
        // Reporting failed too; nothing is left that could tell the user.
    }
}

}  // namespace norvessa::platform::win32
