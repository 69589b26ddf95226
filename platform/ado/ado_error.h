#pragma once

#include <stdexcept>
#include <string>

namespace norvessa::ado {

// Every failure of the database access component: misuse of an object ("Recordset.MoveNext:
// the record set is at its end"), a refused connection string, a database that cannot be
// opened or a statement that cannot be run. The message names what failed and why.
class AdoError : public std::runtime_error {
  public:
    explicit AdoError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace norvessa::ado
