#pragma once

// A command line or query text the program cannot act on; the message says what is wrong with
// it in the words of the command line ("--id \"ZZ\": 'Z' is not a hexadecimal digit").

#include <stdexcept>
#include <string>

namespace norvessa::query {

class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace norvessa::query
