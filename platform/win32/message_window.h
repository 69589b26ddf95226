#pragma once

// A top-level window whose messages reach a C++ object. Every message goes through one guarded
// dispatch: an exception that a handler lets escape is caught there and reported to the user,
// and the message counts as handled, so the program goes on running.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace norvessa::platform::win32 {

class MessageWindow {
  public:
    MessageWindow() = default;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    virtual ~MessageWindow();

    HWND handle() const { return window_; }

    // Whether `window` is a top-level window of this program.
    static bool isProgramWindow(HWND window);

  protected:
    // Creates the window of the program's window class, hidden; `name` names it in errors.
    // Throws Win32Error.
    void create(const std::string& name, const std::wstring& caption, DWORD style,
                DWORD extendedStyle, RECT outer);

    // Handles one message; what it does not handle goes to defaultHandling.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

    // Destroys the window now (the object stays).
    void destroy();

    // Called once the window is gone; handle() is null from then on.
    virtual void windowDestroyed() {}

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// What happens to an exception that escaped a window's message handler. The program reports it
// in a message box; tests may record it instead.
using EscapedErrorHandler = std::function<void(std::exception_ptr)>;
EscapedErrorHandler setEscapedErrorHandler(EscapedErrorHandler handler);
void handleEscapedError(std::exception_ptr error) noexcept;

}  // namespace norvessa::platform::win32
