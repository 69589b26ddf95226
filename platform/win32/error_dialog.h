#pragma once

// The message box that tells the user about a failure: what the user was doing and what went
// wrong, in Chinese, with the technical detail folded away behind a "显示详情…" button (a task
// dialog with expandable information). Where the common controls 6 are not active it falls back
// to a plain message box that shows the detail below the explanation.

#include <windows.h>

#include <string>

namespace norvessa::platform::win32 {

struct ErrorDialogText {
    std::string title;    // the window's caption
    std::string summary;  // what the user was doing
    std::string reason;   // what went wrong, in words a user understands
    std::string detail;   // the technical detail; may be empty
};

// Shows the box, owned by `owner` (may be null), and returns when the user has closed it.
void showErrorDialog(HWND owner, const ErrorDialogText& text);

}  // namespace norvessa::platform::win32
