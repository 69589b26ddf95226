#pragma once

#include "platform/controls/controls.h"

namespace norvessa::main_window {

// The exit status of a run that could not start.
inline constexpr int kStartFailedExitStatus = 1;

// Runs the program on the given front end: builds the main window, lets its Load handler
// provision the database file, shows the window centred on the screen and dispatches events
// until the program ends. Returns the exit status. When the window cannot be built or its Load
// handler fails, the error is reported and the function returns kStartFailedExitStatus without
// ever showing the window.
int runProgram(controls::FrontEnd& frontEnd);

}  // namespace norvessa::main_window
