#pragma once

#include <stdexcept>
#include <string>

namespace norvessa::platform {

// A platform call that failed: the message says what was attempted, on what, and why.
class PlatformError : public std::runtime_error {
  public:
    explicit PlatformError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace norvessa::platform
