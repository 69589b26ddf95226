#include "platform/core/program_arguments.h"

#ifdef _WIN32

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <memory>

#include "platform/core/platform_error.h"
#include "platform/core/utf16.h"
#include "platform/core/windows_error.h"

namespace norvessa::platform {

std::vector<std::string> programArguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        throw PlatformError("cannot read the program's command line: " + lastWindowsErrorText());
    }
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> owned(words, &LocalFree);
    std::vector<std::string> arguments;
    for (int index = 1; index < count; ++index) {
        arguments.push_back(utf8FromWide(words[index]));
    }
    return arguments;
}

}  // namespace norvessa::platform

#endif
