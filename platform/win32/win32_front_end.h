#pragma once

// The Windows front end of the control layer: windows of standard Windows controls, the error
// report as a task dialog, programs started with CreateProcessW and the message loop.

#include <memory>
#include <string>
#include <string_view>

#include "platform/controls/controls.h"

namespace norvessa::platform::win32 {

class Win32FrontEnd : public controls::FrontEnd {
  public:
    // Registers the common controls' window classes and routes errors that escape a window's
    // handlers to showErrorReport. (The program's manifest makes it aware of each monitor's DPI
    // and selects the common controls 6.)
    Win32FrontEnd();
    ~Win32FrontEnd() override;

    std::unique_ptr<controls::Window> createWindow(
        const controls::WindowDescription& description) override;
    void showErrorReport(const controls::ErrorReport& report) override;
    void startProgram(std::string_view commandLine, controls::WindowStyle style) override;
    int runEventLoop() override;
    std::string upperCase(std::string_view text) const override;

    // Replaces the message box, for tests; an empty presenter puts the box back.
    void setErrorPresenter(controls::ErrorPresenter presenter);

    // For start-up measurements: the program ends once a window that ends the program when
    // closed has first been painted.
    void quitAfterFirstPaint() { quitAfterFirstPaint_ = true; }

  private:
    controls::ErrorPresenter presenter_;
    bool quitAfterFirstPaint_ = false;
    bool comInitialized_ = false;
};

}  // namespace norvessa::platform::win32
