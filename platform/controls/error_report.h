#pragma once

// Telling the user about an error that no handler dealt with: what the user was doing and what
// failed, in the program's language (Simplified Chinese), with the technical detail kept apart
// for a message box's details part. Texts are UTF-8.

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace norvessa::controls {

struct ErrorReport {
    std::string summary;  // what the user was doing, in the program's language
    std::string detail;   // what failed, on what, and the system's reason, as the code says it
    std::string reason;   // what failed, in the program's language, naming the file involved
};

// An error that carries its explanation for the user: what() is that text. The technical
// failure behind it is nested in it (std::throw_with_nested) and becomes the detail.
class ExplainedError : public std::runtime_error {
  public:
    explicit ExplainedError(const std::string& reason) : std::runtime_error(reason) {}
};

// The report of an exception in flight or stored, under the given summary. An ExplainedError
// gives the reason and its nested failure the detail; any other exception is an unforeseen one,
// and its own message is the detail.
ErrorReport reportOf(const std::string& summary, const std::exception_ptr& error);

// The detail text for an exception: its message, or a fixed text for one that carries none.
std::string describeException(const std::exception_ptr& error);

// Summaries of the two occasions on which an error reaches the user.
std::string startFailedSummary();
std::string actionFailedSummary();

using ErrorPresenter = std::function<void(const ErrorReport&)>;

// Runs an event handler, as every front end's event dispatch does: an exception that leaves it
// is given to `present` as an action-failed report and goes no further, so the program goes on.
// Returns whether the handler finished.
bool runEventHandler(const std::function<void()>& handler, const ErrorPresenter& present);

}  // namespace norvessa::controls
