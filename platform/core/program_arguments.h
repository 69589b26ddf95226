#pragma once

#ifdef _WIN32

#include <string>
#include <vector>

namespace norvessa::platform {

// The program's arguments after its name, in UTF-8, read from Windows' wide command line
// rather than from argv, so that a Chinese model or path arrives whole whatever the code page
// the program runs under. Throws PlatformError when Windows cannot give them.
std::vector<std::string> programArguments();

}  // namespace norvessa::platform

#endif
