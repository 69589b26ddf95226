#include "tools/norvessa_query/display_width.h"

#include <algorithm>
#include <array>

#include "platform/text/utf8.h"

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

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    std::size_t index = 0;
    while (index < utf8.size()) {
        const text::Utf8Sequence sequence = text::decodeUtf8At(utf8, index);
        if (!sequence.wellFormed) {
            width += 1;
            index += 1;  // the following bytes may begin a character of their own
            continue;
        }
        if (inRanges(kWideRanges, sequence.codePoint)) {
            width += 2;
        } else if (!inRanges(kZeroWidthRanges, sequence.codePoint)) {
            width += 1;
        }
        index += sequence.length;
    }
    return width;
}

}  // namespace norvessa::query
