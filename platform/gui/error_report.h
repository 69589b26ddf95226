#pragma once

// Telling the user about an error that no handler dealt with (platform/controls/error_report.h),
// in a message box: what the user was doing and what failed, in the program's language, with the
// technical detail folded away in the box's expandable details part (Qt's own button, in Chinese
// through Qt's translation). Tests install their own presenter so that nothing waits for a click.

#include "platform/controls/error_report.h"

namespace norvessa::platform {

using controls::actionFailedSummary;
using controls::ErrorPresenter;
using controls::ErrorReport;
using controls::ExplainedError;
using controls::reportOf;
using controls::startFailedSummary;

// Replaces the presenter and returns the one it replaces, so it can be put back. An empty
// presenter restores the message box.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

void reportError(const ErrorReport& report);

}  // namespace norvessa::platform
