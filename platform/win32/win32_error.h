#pragma once

// A failing Windows call becomes an exception that says what was attempted and why it failed, in
// the system's words (GetLastError and its text).

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/core/platform_error.h"

namespace norvessa::platform::win32 {

class Win32Error : public PlatformError {
  public:
    Win32Error(std::string_view attempted, DWORD code);

    DWORD code() const { return code_; }

  private:
    DWORD code_;
};

// The system's description of an error code, in UTF-8, without its trailing line break.
std::string systemErrorText(DWORD code);

// Throws Win32Error for `attempted` with the calling thread's last error.
[[noreturn]] void throwLastError(std::string_view attempted);

// Returns `result` when it is not empty (non-null, non-zero); throws Win32Error otherwise.
template <typename Result>
Result checked(Result result, std::string_view attempted) {
    if (!result) {
        throwLastError(attempted);
    }
    return result;
}

}  // namespace norvessa::platform::win32
