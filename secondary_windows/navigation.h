#pragma once

// Moving between the main window and the four secondary windows. Either the main window is
// visible and no secondary window is loaded, or the main window is hidden and exactly one
// secondary window is loaded and visible.
//
// The main window registers itself at start-up; its buttons Command2 to Command5 call the open
// operations, and each secondary window's close handler calls showMainWindow.

#include <QWidget>

#include "secondary_windows/shared_window.h"

namespace norvessa::secondary_windows {

// Makes `mainWindow` the window that the open operations hide and showMainWindow shows. The
// registration ends when that window is destroyed.
void registerMainWindow(QWidget& mainWindow);

// Command2_Click to Command5_Click: hide the main window (it stays loaded, contents and place
// unchanged), then show Form2 ("群联型号对应表"), Form3 ("安国型号对照表"), Form4 ("问题反馈")
// or Form5 ("关于   made by velthorn42") modeless and without an owner, and return at once. When
// the window cannot be loaded, the main window is shown again before the error is passed on.
// Throws std::logic_error when no main window is registered.
void openForm2();
void openForm3();
void openForm4();
void openForm5();

// Shows the registered main window again, modeless and without an owner, where it was hidden.
// Throws std::logic_error when no main window is registered.
void showMainWindow();

// The shared instances, each created on its first reference.
SharedWindow& form2Instance();
SharedWindow& form3Instance();
SharedWindow& form4Instance();
SharedWindow& form5Instance();

}  // namespace norvessa::secondary_windows
