#pragma once

// Starting another program from a command line, as it is, without waiting for it.

#include <cstdint>
#include <string_view>

namespace norvessa::platform::win32 {

// Starts the command line (UTF-8) with the given show-window code for the started program's
// first window and returns its process id at once. Throws Win32Error when it cannot be started.
std::uint32_t launchCommandLine(std::string_view commandLine, int showWindowCode);

}  // namespace norvessa::platform::win32
