#pragma once

// The program's texts are UTF-8; Windows' wide calls take UTF-16.

#include <string>
#include <string_view>

namespace norvessa::platform::win32 {

// Ill-formed UTF-8 becomes U+FFFD, an unpaired surrogate likewise.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace norvessa::platform::win32
