#pragma once

// Telling the user about an error that no handler dealt with. A message box shows it; tests
// install their own presenter so that nothing waits for a click.

#include <QString>
#include <exception>
#include <functional>

namespace norvessa::platform {

struct ErrorReport {
    QString summary;  // what the user was doing, in the program's language
    QString detail;   // what failed, on what, and the system's reason
};

using ErrorPresenter = std::function<void(const ErrorReport&)>;

// Replaces the presenter and returns the one it replaces, so it can be put back. An empty
// presenter restores the message box.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

void reportError(const ErrorReport& report);

// The detail text for an exception in flight or stored: its message, or a fixed text for an
// exception that carries none.
QString describeException(const std::exception_ptr& error);

// Summaries of the two occasions on which an error reaches the user.
QString startFailedSummary();
QString actionFailedSummary();

}  // namespace norvessa::platform
