#pragma once

// The program's message loop. Keys are handled as in a dialog: Tab and Shift+Tab move the focus
// through the controls that take it, Space presses the focused button, and Enter presses the
// focused button too (and does nothing elsewhere, so Enter in a text box starts nothing).

#include <windows.h>

namespace norvessa::platform::win32 {

// Handles a key message meant for a program window's control; true when it was handled and must
// not be dispatched.
bool handleDialogKeys(MSG& message);

// Runs until WM_QUIT; returns its exit code.
int runMessageLoop();

// Handles every message waiting for this thread, then returns (for tests and for settling the
// windows before a screenshot).
void processPendingMessages();

}  // namespace norvessa::platform::win32
