#include "platform/core/windows_error.h"

#ifdef _WIN32

#include <windows.h>

#include <memory>

#include "platform/core/utf16.h"

namespace norvessa::platform {

std::string windowsErrorText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(buffer, &LocalFree);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    // The system's messages end with a line break.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    const std::string number = "error " + std::to_string(code);
    return text.empty() ? number : utf8FromWide(text) + " (" + number + ")";
}

std::string lastWindowsErrorText() {
    return windowsErrorText(GetLastError());
}

}  // namespace norvessa::platform

#endif
