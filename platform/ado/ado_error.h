#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/jet/errors.h"

namespace norvessa::ado {

// What a failure comes down to, so that a caller can explain it in the user's words.
enum class AdoErrorCause {
    Usage,            // an object used out of order, or asked for something it does not offer
    DatabaseMissing,  // the database file does not exist
    Engine,           // the database engine failed on the file; engineKind() says how
    Statement,        // the statement cannot be run (its text, or a table or column it names)
};

// Every failure of the database access component: misuse of an object ("Recordset.MoveNext:
// the record set is at its end"), a refused connection string, a database that cannot be
// opened or a statement that cannot be run. The message names what failed and why.
class AdoError : public std::runtime_error {
  public:
    explicit AdoError(const std::string& message, AdoErrorCause cause = AdoErrorCause::Usage,
                      std::optional<jet::ErrorKind> engineKind = std::nullopt)
        : std::runtime_error(message), cause_(cause), engineKind_(engineKind) {}

    AdoErrorCause cause() const noexcept { return cause_; }
    // The engine's own kind of failure, for the cause Engine.
    std::optional<jet::ErrorKind> engineKind() const noexcept { return engineKind_; }

  private:
    AdoErrorCause cause_;
    std::optional<jet::ErrorKind> engineKind_;
};

}  // namespace norvessa::ado
