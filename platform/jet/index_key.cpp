#include "platform/jet/index_key.h"

#include <array>
#include <cstdio>
#include <string>

#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

constexpr std::uint16_t kSortOrderGeneral = 1033;
constexpr std::uint16_t kSortOrderChinesePrc = 2052;

// Jet keys at most this many characters of a text value.
constexpr std::size_t kMaxKeyCharacters = 255;

// The key ends with this byte after the end-of-text byte when no extra sections follow.
constexpr std::uint8_t kTextKeyTerminator = 0x00;

constexpr char16_t kFirstPrintable = u' ';
constexpr char16_t kLastPrintable = u'~';

// General-legacy codes for U+0020..U+007E; the second byte is 0 for one-byte codes. The
// apostrophe and the hyphen have no inline code (Jet records them in extra sections after the
// text), so they are marked with 0 and refused.
struct Code {
    std::uint8_t first;
    std::uint8_t second;
};
constexpr std::array<Code, 95> kPrintableCodes{{
    {0x07, 0},    {0x09, 0},    {0x0A, 0},    {0x0C, 0},    {0x0E, 0},     // space ! " # $
    {0x10, 0},    {0x12, 0},    {0x00, 0},    {0x14, 0},    {0x16, 0},     // % & ' ( )
    {0x18, 0},    {0x2C, 0},    {0x1A, 0},    {0x00, 0},    {0x1C, 0},     // * + , - .
    {0x1E, 0},                                                             // /
    {0x36, 0},    {0x38, 0},    {0x3A, 0},    {0x3C, 0},    {0x3E, 0},     // 0..4
    {0x40, 0},    {0x42, 0},    {0x44, 0},    {0x46, 0},    {0x48, 0},     // 5..9
    {0x20, 0},    {0x22, 0},    {0x2E, 0},    {0x30, 0},    {0x32, 0},     // : ; < = >
    {0x24, 0},    {0x26, 0},                                               // ? @
    {0x4A, 0},    {0x4C, 0},    {0x4D, 0},    {0x4F, 0},    {0x51, 0},     // A..E
    {0x53, 0},    {0x55, 0},    {0x57, 0},    {0x59, 0},    {0x5B, 0},     // F..J
    {0x5C, 0},    {0x5E, 0},    {0x60, 0},    {0x62, 0},    {0x64, 0},     // K..O
    {0x66, 0},    {0x68, 0},    {0x69, 0},    {0x6B, 0},    {0x6D, 0},     // P..T
    {0x6F, 0},    {0x71, 0},    {0x73, 0},    {0x75, 0},    {0x76, 0},     // U..Y
    {0x78, 0},                                                             // Z
    {0x27, 0},    {0x29, 0},    {0x2A, 0},    {0x2B, 0x02}, {0x2B, 0x03},  // [ \ ] ^ _
    {0x2B, 0x07},                                                          // `
    {0x4A, 0},    {0x4C, 0},    {0x4D, 0},    {0x4F, 0},    {0x51, 0},     // a..e
    {0x53, 0},    {0x55, 0},    {0x57, 0},    {0x59, 0},    {0x5B, 0},     // f..j
    {0x5C, 0},    {0x5E, 0},    {0x60, 0},    {0x62, 0},    {0x64, 0},     // k..o
    {0x66, 0},    {0x68, 0},    {0x69, 0},    {0x6B, 0},    {0x6D, 0},     // p..t
    {0x6F, 0},    {0x71, 0},    {0x73, 0},    {0x75, 0},    {0x76, 0},     // u..y
    {0x78, 0},                                                             // z
    {0x2B, 0x09}, {0x2B, 0x0B}, {0x2B, 0x0D}, {0x2B, 0x0F},                // { | } ~
}};

std::optional<Code> codeOf(char16_t character) {
    if (character < kFirstPrintable || character > kLastPrintable) {
        return std::nullopt;
    }
    const Code code = kPrintableCodes[static_cast<std::size_t>(character - kFirstPrintable)];
    if (code.first == 0) {
        return std::nullopt;
    }
    return code;
}

// The part of a text value that forms its key: at most 255 characters, trailing blanks dropped.
std::u16string_view keyedPart(std::u16string_view text) {
    text = text.substr(0, kMaxKeyCharacters);
    while (!text.empty() && text.back() == u' ') {
        text.remove_suffix(1);
    }
    return text;
}

void appendBigEndian(KeyBytes& key, std::uint32_t value, std::size_t size) {
    for (std::size_t i = size; i-- > 0;) {
        key.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::u16string_view keyedText(std::u16string_view text) {
    return keyedPart(text);
}

std::optional<KeyBytes> textKeyPrefix(std::u16string_view text) {
    KeyBytes key{layout::index_page::kKeyPresentAscending};
    for (const char16_t character : text.substr(0, kMaxKeyCharacters)) {
        const std::optional<Code> code = codeOf(character);
        if (!code) {
            return std::nullopt;
        }
        key.push_back(code->first);
        if (code->second != 0) {
            key.push_back(code->second);
        }
    }
    return key;
}

std::optional<std::string> readTextKey(std::span<const std::uint8_t> key) {
    // The inverse of the code table; letters read back in upper case, which come first.
    static const auto characters = [] {
        std::array<std::array<char, 256>, 2> table{};
        for (char16_t character = kLastPrintable; character >= kFirstPrintable; --character) {
            if (const std::optional<Code> code = codeOf(character)) {
                const bool twoBytes = code->second != 0;
                table[twoBytes ? 1 : 0][twoBytes ? code->second : code->first] =
                    static_cast<char>(character);
            }
        }
        return table;
    }();
    constexpr std::uint8_t kTwoByteLead = 0x2B;
    if (key.empty() || key[0] != layout::index_page::kKeyPresentAscending) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < key.size(); ++i) {
        const std::uint8_t byte = key[i];
        if (byte == layout::index_page::kTextKeyEnd) {
            // Extra sections after the end byte stand for characters without inline codes.
            if (i + 1 < key.size() && key[i + 1] == kTextKeyTerminator) {
                return text;
            }
            return std::nullopt;
        }
        const bool twoBytes = byte == kTwoByteLead;
        if (twoBytes && ++i == key.size()) {
            return std::nullopt;
        }
        const char character = characters[twoBytes ? 1 : 0][key[i]];
        if (character == 0) {
            return std::nullopt;
        }
        text.push_back(character);
    }
    return std::nullopt;
}

bool textKeysSupported(std::uint16_t sortOrder) {
    return sortOrder == kSortOrderGeneral || sortOrder == kSortOrderChinesePrc;
}

bool keysSupported(ColumnType type) {
    return type == ColumnType::Byte || type == ColumnType::Integer || type == ColumnType::Long ||
           type == ColumnType::Text;
}

std::optional<std::size_t> findUnencodableCharacter(std::u16string_view text) {
    const std::u16string_view keyed = keyedPart(text);
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (!codeOf(keyed[i])) {
            return i;
        }
    }
    return std::nullopt;
}

std::string describeCharacter(std::u16string_view text, std::size_t position) {
    // An unpaired surrogate is named by its own number and shown as U+FFFD.
    const norvessa::text::Utf16Character character = norvessa::text::decodeUtf16At(text, position);
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(character.codePoint));
    const std::string shown = character.codePoint < 0x20
                                  ? std::string()
                                  : utf16ToUtf8(text.substr(position, character.units));
    return shown.empty() ? std::string(number) : "'" + shown + "' (" + number + ")";
}

void appendNullKeySegment(KeyBytes& key) {
    key.push_back(layout::index_page::kKeyNullAscending);
}

void appendIntegerKeySegment(KeyBytes& key, ColumnType type, std::int32_t value) {
    // Integers are stored big-endian with the sign bit inverted, so that unsigned byte order is
    // numeric order. Bytes are unsigned already and stored as they are.
    const auto bits = static_cast<std::uint32_t>(value);
    switch (type) {
        case ColumnType::Byte:
            if (value < 0 || value > 0xFF) {
                throw JetError(ErrorKind::InvalidArgument,
                               "byte key value " + std::to_string(value) + " out of range");
            }
            key.push_back(layout::index_page::kKeyPresentAscending);
            appendBigEndian(key, bits, 1);
            return;
        case ColumnType::Integer:
            if (value < -0x8000 || value > 0x7FFF) {
                throw JetError(ErrorKind::InvalidArgument,
                               "integer key value " + std::to_string(value) + " out of range");
            }
            key.push_back(layout::index_page::kKeyPresentAscending);
            appendBigEndian(key, (bits & 0xFFFFU) ^ 0x8000U, 2);
            return;
        case ColumnType::Long:
            key.push_back(layout::index_page::kKeyPresentAscending);
            appendBigEndian(key, bits ^ 0x80000000U, 4);
            return;
        default:
            throw JetError(ErrorKind::Unsupported, "no index key encoding for column type " +
                                                       std::to_string(static_cast<int>(type)));
    }
}

void appendTextKeySegment(KeyBytes& key, std::u16string_view text) {
    const std::u16string_view keyed = keyedPart(text);
    key.push_back(layout::index_page::kKeyPresentAscending);
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        const std::optional<Code> code = codeOf(keyed[i]);
        if (!code) {
            throw JetError(ErrorKind::Unsupported, "no index key code for character " +
                                                       describeCharacter(keyed, i) +
                                                       " at position " + std::to_string(i));
        }
        key.push_back(code->first);
        if (code->second != 0) {
            key.push_back(code->second);
        }
    }
    key.push_back(layout::index_page::kTextKeyEnd);
    key.push_back(kTextKeyTerminator);
}

}  // namespace norvessa::jet
