#include "platform/win32/program_launch.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {

std::uint32_t launchCommandLine(std::string_view commandLine, int showWindowCode) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring writable = widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showWindowCode);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        throwLastError("CreateProcessW(" + std::string(commandLine) + ")");
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return started.dwProcessId;
}

}  // namespace norvessa::platform::win32
