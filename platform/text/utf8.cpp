#include "platform/text/utf8.h"

#include <stdexcept>

namespace norvessa::text {
namespace {

constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char16_t kFirstHighSurrogate = 0xD800;
constexpr char16_t kFirstLowSurrogate = 0xDC00;
constexpr char16_t kLastLowSurrogate = 0xDFFF;

// What a byte of 0x80 or above announces by its bit pattern, and the range the second byte must
// fall in (table 3-7 of the Unicode standard); the narrowed ranges rule out overlong forms,
// surrogates and values above U+10FFFF. C0, C1 and F5..F7 announce a sequence that can never
// be well-formed.
struct LeadByte {
    std::size_t length = 0;  // 0: the byte begins no sequence
    bool beginsWellFormed = false;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
};

LeadByte classify(unsigned char lead) {
    if (lead < 0xC0 || lead > 0xF7) {
        return {};
    }
    if (lead <= 0xDF) {
        return {2, lead >= 0xC2};
    }
    if (lead <= 0xEF) {
        return {3, true, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF)};
    }
    return {4, lead <= 0xF4, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
            static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF)};
}

bool isHighSurrogate(char32_t unit) {
    return unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate;
}

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < kFirstSupplementary) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - kFirstSupplementary;
    out.push_back(static_cast<char16_t>(kFirstHighSurrogate + (offset >> 10)));
    out.push_back(static_cast<char16_t>(kFirstLowSurrogate + (offset & 0x3FF)));
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
        return;
    }
    std::size_t continuations = codePoint < 0x800 ? 1 : codePoint < kFirstSupplementary ? 2 : 3;
    constexpr unsigned char kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
    out.push_back(static_cast<char>(kLeadMarks[continuations] | codePoint >> (6 * continuations)));
    while (continuations-- > 0) {
        out.push_back(static_cast<char>(0x80 | (codePoint >> (6 * continuations) & 0x3F)));
    }
}

}  // namespace

Utf8Sequence decodeUtf8At(std::string_view text, std::size_t index) {
    if (index >= text.size()) {
        throw std::out_of_range("UTF-8 decoding: index " + std::to_string(index) +
                                " is past the end of a text of " + std::to_string(text.size()) +
                                " bytes");
    }
    const auto byteAt = [text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byteAt(index);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    const LeadByte announced = classify(lead);
    Utf8Sequence sequence;
    while (sequence.length < announced.length && index + sequence.length < text.size() &&
           isUtf8Continuation(text[index + sequence.length])) {
        ++sequence.length;
    }
    if (!announced.beginsWellFormed || text.size() - index < announced.length) {
        return sequence;
    }
    // The lead byte keeps 7 - length bits of the value, each continuation byte six.
    char32_t codePoint = lead & (0x7Fu >> announced.length);
    for (std::size_t i = 1; i < announced.length; ++i) {
        const unsigned char byte = byteAt(index + i);
        const unsigned char low = i == 1 ? announced.secondLow : 0x80;
        const unsigned char high = i == 1 ? announced.secondHigh : 0xBF;
        if (byte < low || byte > high) {
            sequence.faultOffset = i;
            return sequence;
        }
        codePoint = codePoint << 6 | (byte & 0x3Fu);
    }
    return {codePoint, announced.length, true};
}

Utf16Character decodeUtf16At(std::u16string_view text, std::size_t index) {
    if (index >= text.size()) {
        throw std::out_of_range("UTF-16 decoding: index " + std::to_string(index) +
                                " is past the end of a text of " + std::to_string(text.size()) +
                                " units");
    }
    const char32_t unit = text[index];
    if (isHighSurrogate(unit) && index + 1 < text.size() && isLowSurrogate(text[index + 1])) {
        const char32_t low = text[index + 1];
        return {
            kFirstSupplementary + ((unit - kFirstHighSurrogate) << 10) + (low - kFirstLowSurrogate),
            2, true};
    }
    return {unit, 1, !isHighSurrogate(unit) && !isLowSurrogate(unit)};
}

bool isValidUtf8(std::string_view text) {
    return utf16Length(text).has_value();
}

std::optional<std::size_t> utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t index = 0; index < utf8.size();) {
        const Utf8Sequence sequence = decodeUtf8At(utf8, index);
        if (!sequence.wellFormed) {
            return std::nullopt;
        }
        // Characters above U+FFFF take a surrogate pair.
        units += sequence.codePoint < kFirstSupplementary ? 1 : 2;
        index += sequence.length;
    }
    return units;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t index = 0; index < utf8.size();) {
        const Utf8Sequence sequence = decodeUtf8At(utf8, index);
        appendUtf16(out, sequence.codePoint);
        index += sequence.length;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t index = 0; index < utf16.size();) {
        const Utf16Character character = decodeUtf16At(utf16, index);
        appendUtf8(out, character.wellFormed ? character.codePoint : kReplacementCharacter);
        index += character.units;
    }
    return out;
}

}  // namespace norvessa::text
