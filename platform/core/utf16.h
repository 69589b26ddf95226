#pragma once

// Windows' wide strings (UTF-16 in wchar_t) to and from the UTF-8 the program uses inside.

#ifdef _WIN32

#include <string>
#include <string_view>

#include "platform/text/utf8.h"

namespace norvessa::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds UTF-16");

// Each ill-formed UTF-8 sequence becomes one U+FFFD.
inline std::wstring wideFromUtf8(std::string_view utf8) {
    const std::u16string utf16 = text::utf8ToUtf16(utf8);
    return {utf16.begin(), utf16.end()};
}

// Each unpaired surrogate becomes U+FFFD.
inline std::string utf8FromWide(std::wstring_view wide) {
    const std::u16string utf16(wide.begin(), wide.end());
    return text::utf16ToUtf8(utf16);
}

}  // namespace norvessa::platform

#endif
