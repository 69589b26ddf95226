#include "platform/win32/win32_error.h"

#include "platform/win32/wide_text.h"

namespace norvessa::platform::win32 {
namespace {

std::string describe(std::string_view attempted, DWORD code) {
    return std::string(attempted) + " failed: " + systemErrorText(code) + " (error " +
           std::to_string(code) + ")";
}

}  // namespace

Win32Error::Win32Error(std::string_view attempted, DWORD code)
    : PlatformError(describe(attempted, code)), code_(code) {}

std::string systemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the allocated text.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return "unknown error";
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return narrow(text);
}

void throwLastError(std::string_view attempted) {
    throw Win32Error(attempted, GetLastError());
}

}  // namespace norvessa::platform::win32
