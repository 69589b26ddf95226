#include "platform/win32/wide_text.h"

#include "platform/text/utf8.h"

namespace norvessa::platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring widen(std::string_view utf8) {
    const std::u16string units = text::utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view utf16) {
    return text::utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

}  // namespace norvessa::platform::win32
