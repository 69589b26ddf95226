// norvessa-query: lookups over the lookup database from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "norvessa_query/command_line.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/core/console_output.h"
#include "platform/core/platform_error.h"
#include "platform/core/program_arguments.h"
#endif

namespace {

#ifdef _WIN32
// Reading drives (sysfs, SG_IO) exists for Linux only so far: say so instead of failing on a
// missing /sys or device node. Anything the command line gets wrong is left to the tool itself.
bool refusesDriveReading(const std::vector<std::string>& arguments, std::ostream& errors) {
    using namespace norvessa::query;
    try {
        const CommandLine commandLine = parseCommandLine(arguments);
        const LookupMode mode = commandLine.request.mode;
        if (commandLine.kind == CommandKind::Lookup &&
            (mode == LookupMode::Drives || mode == LookupMode::Probe)) {
            errors << kProgramName
                   << ": --drives and --probe read USB drives on Linux only for now; "
                      "the lookups and --decode work here\n";
            return true;
        }
    } catch (const UsageError&) {
    }
    return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    static_cast<void>(argc);
    static_cast<void>(argv);
    // CSV ends its records with CR LF itself; text mode would turn that into CR CR LF. Messages
    // keep the same line ends as on Linux.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // Chinese reads right in a console whatever its code page; redirected output stays UTF-8.
    const norvessa::platform::ConsoleOutput consoleOut(std::cout, STD_OUTPUT_HANDLE);
    const norvessa::platform::ConsoleOutput consoleErrors(std::cerr, STD_ERROR_HANDLE);
    std::vector<std::string> arguments;
    try {
        arguments = norvessa::platform::programArguments();
    } catch (const norvessa::platform::PlatformError& error) {
        std::cerr << norvessa::query::kProgramName << ": " << error.what() << '\n';
        return norvessa::query::kFailed;
    }
    if (refusesDriveReading(arguments, std::cerr)) {
        return norvessa::query::kFailed;
    }
#else
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
    return norvessa::query::runQueryTool(arguments, std::cout, std::cerr);
}
