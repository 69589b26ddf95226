#pragma once

// The text Windows gives for its error codes.

#ifdef _WIN32

#include <cstdint>
#include <string>

namespace norvessa::platform {

// What the system says of the error code (from GetLastError), in UTF-8, with the code itself:
// "Access is denied. (error 5)".
std::string windowsErrorText(std::uint32_t code);

// windowsErrorText of the calling thread's last error.
std::string lastWindowsErrorText();

}  // namespace norvessa::platform

#endif
