#include "tools/norvessa_query/display_width.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace norvessa::query {

namespace {

struct CodePointRange {
    char32_t first;
    char32_t last;
};

// East Asian Wide (W) and Fullwidth (F) blocks, coarse but covering every character the lookup
// data and Chinese text use.
constexpr std::array<CodePointRange, 17> kWideRanges{{
    {0x1100, 0x115F},    // Hangul Jamo initials
    {0x2E80, 0x303E},    // CJK radicals, Kangxi radicals, CJK symbols and punctuation
    {0x3041, 0x33FF},    // kana, bopomofo, Hangul compatibility jamo, CJK compatibility
    {0x3400, 0x4DBF},    // CJK unified ideographs extension A
    {0x4E00, 0x9FFF},    // CJK unified ideographs
    {0xA000, 0xA4CF},    // Yi
    {0xA960, 0xA97F},    // Hangul Jamo extended A
    {0xAC00, 0xD7A3},    // Hangul syllables
    {0xF900, 0xFAFF},    // CJK compatibility ideographs
    {0xFE10, 0xFE19},    // vertical forms
    {0xFE30, 0xFE6F},    // CJK compatibility forms, small form variants
    {0xFF00, 0xFF60},    // full-width ASCII forms
    {0xFFE0, 0xFFE6},    // full-width signs
    {0x1F300, 0x1F64F},  // pictographs and emoticons
    {0x1F900, 0x1F9FF},  // supplemental pictographs
    {0x20000, 0x2FFFD},  // CJK extensions B to F, compatibility supplement
    {0x30000, 0x3FFFD},  // CJK extension G and later
}};

constexpr std::array<CodePointRange, 5> kZeroWidthRanges{{
    {0x0300, 0x036F},  // combining diacritical marks
    {0x200B, 0x200F},  // zero-width space, joiners, direction marks
    {0x20D0, 0x20FF},  // combining marks for symbols
    {0xFE00, 0xFE0F},  // variation selectors
    {0xFE20, 0xFE2F},  // combining half marks
}};

template <std::size_t Size>
bool inRanges(const std::array<CodePointRange, Size>& ranges, char32_t codePoint) {
    return std::any_of(ranges.begin(), ranges.end(), [codePoint](const CodePointRange& range) {
        return codePoint >= range.first && codePoint <= range.last;
    });
}

// Decodes the sequence at `index` and advances past it; nullopt (advancing one byte) when the
// bytes there are not valid UTF-8.
std::optional<char32_t> decodeAt(std::string_view text, std::size_t& index) {
    const auto lead = static_cast<std::uint8_t>(text[index]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        ++index;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0Fu;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07u;
        smallest = 0x10000;
    } else {
        ++index;
        return std::nullopt;
    }
    if (index + length > text.size()) {
        ++index;
        return std::nullopt;
    }
    for (std::size_t offset = 1; offset < length; ++offset) {
        const auto continuation = static_cast<std::uint8_t>(text[index + offset]);
        if ((continuation & 0xC0) != 0x80) {
            ++index;
            return std::nullopt;
        }
        codePoint = codePoint << 6 | (continuation & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        ++index;
        return std::nullopt;
    }
    index += length;
    return codePoint;
}

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    std::size_t index = 0;
    while (index < utf8.size()) {
        const std::optional<char32_t> codePoint = decodeAt(utf8, index);
        if (!codePoint) {
            width += 1;
        } else if (inRanges(kWideRanges, *codePoint)) {
            width += 2;
        } else if (!inRanges(kZeroWidthRanges, *codePoint)) {
            width += 1;
        }
    }
    return width;
}

}  // namespace norvessa::query
