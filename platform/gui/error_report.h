#pragma once

// Telling the user about an error that no handler dealt with. A message box shows it, in the
// program's language: what the user was doing and what failed in words a user understands. The
// technical detail is folded away in the box's expandable details part (Qt's own button, in
// Chinese through Qt's translation). Tests install their own presenter so that nothing waits for
// a click.

#include <QString>
#include <exception>
#include <functional>
#include <stdexcept>

namespace norvessa::platform {

struct ErrorReport {
    QString summary;  // what the user was doing, in the program's language
    QString
        detail;  // what failed, on what, and the system's reason (technical, as the code says it)
    QString
        reason;  // what failed, in the program's language, naming the file where one is involved
};

// An error that carries its explanation for the user: what() is that text, in UTF-8. The
// technical failure behind it is nested in it (std::throw_with_nested) and becomes the detail.
class ExplainedError : public std::runtime_error {
  public:
    explicit ExplainedError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
};

using ErrorPresenter = std::function<void(const ErrorReport&)>;

// Replaces the presenter and returns the one it replaces, so it can be put back. An empty
// presenter restores the message box.
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

void reportError(const ErrorReport& report);

// The report of an exception in flight or stored, under the given summary. An ExplainedError
// gives the reason and its nested failure the detail; any other exception is an unforeseen one,
// and its own message is the detail.
ErrorReport reportOf(const QString& summary, const std::exception_ptr& error);

// The detail text for an exception in flight or stored: its message, or a fixed text for an
// exception that carries none.
QString describeException(const std::exception_ptr& error);

// Summaries of the two occasions on which an error reaches the user.
QString startFailedSummary();
QString actionFailedSummary();

}  // namespace norvessa::platform
