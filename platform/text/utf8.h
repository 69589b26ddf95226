#pragma once

// UTF-8 and UTF-16 text: reading one character at a time with a clear result for ill-formed
// bytes, the conversions between the two, and the checks built on them. Well-formed UTF-8 is
// that of RFC 3629: no overlong forms, no surrogates (U+D800..U+DFFF), nothing above U+10FFFF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace norvessa::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Continuation bytes (10xxxxxx) carry the rest of a character and never begin one.
constexpr bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

// One UTF-8 sequence as read from a text.
struct Utf8Sequence {
    // The character; U+FFFD when the bytes are ill-formed.
    char32_t codePoint = kReplacementCharacter;
    // Bytes the sequence takes, at least one. An ill-formed sequence takes its lead byte and the
    // continuation bytes after it, up to the length the lead byte's bit pattern announces (a byte
    // that announces no sequence stands alone), so that a conversion replaces it as one character.
    std::size_t length = 1;
    bool wellFormed = false;
    // For an ill-formed sequence, the offset from its start of the byte at fault: the lead byte
    // when it begins no well-formed sequence or the text ends before the sequence does, otherwise
    // the first continuation byte outside the range its place allows.
    std::size_t faultOffset = 0;
};

// Reads the sequence that begins at `index`; throws std::out_of_range when `index` is not
// inside `text`.
Utf8Sequence decodeUtf8At(std::string_view text, std::size_t index);

// One character as read from UTF-16 text.
struct Utf16Character {
    // The character; an unpaired surrogate is returned as itself.
    char32_t codePoint = 0;
    std::size_t units = 1;  // 2 for a surrogate pair
    bool wellFormed = false;
};

// Reads the character that begins at `index`; throws std::out_of_range when `index` is not
// inside `text`.
Utf16Character decodeUtf16At(std::u16string_view text, std::size_t index);

bool isValidUtf8(std::string_view text);

// The length of UTF-8 text in UTF-16 code units; nothing when it is not well-formed.
std::optional<std::size_t> utf16Length(std::string_view utf8);

// Each ill-formed UTF-8 sequence becomes one U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
// Each unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

}  // namespace norvessa::text
