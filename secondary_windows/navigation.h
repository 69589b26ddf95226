#pragma once

// Moving between the main window and the four secondary windows. Either the main window is
// visible and no secondary window is loaded, or the main window is hidden and exactly one
// secondary window is loaded and visible.
//
// The main window registers itself at start-up; its buttons Command2 to Command5 call the open
// operations, and each secondary window's unload handler calls showMainWindow.

#include "platform/controls/controls.h"
#include "secondary_windows/shared_window.h"

namespace norvessa::secondary_windows {

class Navigation {
  public:
    explicit Navigation(controls::FrontEnd& frontEnd);
    Navigation(const Navigation&) = delete;
    Navigation& operator=(const Navigation&) = delete;

    // Makes `mainWindow` the window that the open operations hide and showMainWindow shows.
    void registerMainWindow(controls::Window& mainWindow);
    // Ends the registration of `mainWindow`, which is about to go; another registration stays.
    void unregisterMainWindow(const controls::Window& mainWindow);

    // Command2_Click to Command5_Click: hide the main window (it stays loaded, contents and
    // place unchanged), then show Form2 ("群联型号对应表"), Form3 ("安国型号对照表"), Form4
    // ("问题反馈") or Form5 ("关于   made by velthorn42") modeless and without an owner, and
    // return at once. When the window cannot be loaded, the main window is shown again before
    // the error is passed on. Throws std::logic_error when no main window is registered.
    void openForm2();
    void openForm3();
    void openForm4();
    void openForm5();

    // Shows the registered main window again, modeless and without an owner, where it was
    // hidden. Throws std::logic_error when no main window is registered.
    void showMainWindow();

    SharedWindow& form2Instance() { return form2_; }
    SharedWindow& form3Instance() { return form3_; }
    SharedWindow& form4Instance() { return form4_; }
    SharedWindow& form5Instance() { return form5_; }

  private:
    controls::Window& mainWindow();
    void open(SharedWindow& target);

    controls::FrontEnd& frontEnd_;
    controls::Window* mainWindow_ = nullptr;
    SharedWindow form2_;
    SharedWindow form3_;
    SharedWindow form4_;
    SharedWindow form5_;
};

}  // namespace norvessa::secondary_windows
