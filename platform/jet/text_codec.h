#pragma once

// Text as Jet 4 stores it: UCS-2 little-endian, or "compressed Unicode" (FF FE, then single
// bytes for U+0001..U+00FF, a 00 byte toggling to and from two-byte UCS-2). Plus the case
// folding the engine's text equality uses.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/utf8.h"

namespace norvessa::jet {

inline constexpr std::uint8_t kCompressedTextMarker[2] = {0xFF, 0xFE};

// Decodes stored text bytes, compressed or plain. A trailing odd byte of UCS-2 is dropped.
std::u16string decodeText(std::span<const std::uint8_t> stored);
// The same text as UTF-8, as text::utf16ToUtf8(decodeText(stored)) gives it, without the
// UTF-16 copy in between.
std::string decodeTextAsUtf8(std::span<const std::uint8_t> stored);

// Encodes text for storage. With `compress`, uses the compressed form when it is shorter and
// every character can be represented (no character with a zero low byte, which a reader would
// take for a mode toggle); otherwise plain UCS-2.
std::vector<std::uint8_t> encodeText(std::u16string_view text, bool compress);

// Plain UCS-2LE bytes (names in table definitions and the catalog).
std::vector<std::uint8_t> encodeUcs2(std::u16string_view text);

// The engine hands out and takes text as UTF-8; ill-formed UTF-8 sequences and unpaired
// surrogates become U+FFFD.
using norvessa::text::utf16ToUtf8;
using norvessa::text::utf8ToUtf16;

// Simple case folding (to lower case) of ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and
// full-width Latin letters; every other character is returned unchanged.
char16_t foldCaseBeyondAscii(char16_t character);
inline char16_t foldCase(char16_t character) {
    if (character < 0x80) {
        return character >= u'A' && character <= u'Z' ? static_cast<char16_t>(character + 32)
                                                      : character;
    }
    return foldCaseBeyondAscii(character);
}

// Jet text equality: case folded, trailing blanks on either side ignored.
bool textEqualsIgnoringCase(std::u16string_view left, std::u16string_view right);

// The same between stored text bytes (compressed or plain) and a key that is already folded
// and has no trailing blanks; decodes nothing and allocates nothing.
bool storedTextEquals(std::span<const std::uint8_t> stored, std::u16string_view foldedKey);

// Whether stored text bytes, case folded, hold an already folded text anywhere.
bool storedTextContains(std::span<const std::uint8_t> stored, std::u16string_view foldedText);

// Whether stored text bytes, case folded, begin with an already folded prefix.
bool storedTextStartsWith(std::span<const std::uint8_t> stored, std::u16string_view foldedPrefix);

}  // namespace norvessa::jet
