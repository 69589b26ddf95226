#include "tools/dataset/utf8_text.h"

#include <cstdint>

namespace norvessa::dataset {

namespace {

// Lead byte ranges and the range the first continuation byte must fall in (RFC 3629, table 3-7
// of the Unicode standard), which rules out overlong forms, surrogates and values above U+10FFFF.
struct SequenceShape {
    std::size_t length;
    std::uint8_t secondLow;
    std::uint8_t secondHigh;
};

std::optional<SequenceShape> shapeOf(std::uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return SequenceShape{2, 0x80, 0xBF};
    }
    if (lead == 0xE0) {
        return SequenceShape{3, 0xA0, 0xBF};
    }
    if (lead == 0xED) {
        return SequenceShape{3, 0x80, 0x9F};
    }
    if (lead >= 0xE1 && lead <= 0xEF) {
        return SequenceShape{3, 0x80, 0xBF};
    }
    if (lead == 0xF0) {
        return SequenceShape{4, 0x90, 0xBF};
    }
    if (lead >= 0xF1 && lead <= 0xF3) {
        return SequenceShape{4, 0x80, 0xBF};
    }
    if (lead == 0xF4) {
        return SequenceShape{4, 0x80, 0x8F};
    }
    return std::nullopt;
}

bool isContinuation(std::uint8_t byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

}  // namespace

std::optional<std::size_t> utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    std::size_t position = 0;
    while (position < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[position]);
        if (lead < 0x80) {
            ++units;
            ++position;
            continue;
        }
        const auto shape = shapeOf(lead);
        if (!shape || utf8.size() - position < shape->length) {
            return std::nullopt;
        }
        const auto second = static_cast<std::uint8_t>(utf8[position + 1]);
        if (second < shape->secondLow || second > shape->secondHigh) {
            return std::nullopt;
        }
        for (std::size_t i = 2; i < shape->length; ++i) {
            if (!isContinuation(static_cast<std::uint8_t>(utf8[position + i]))) {
                return std::nullopt;
            }
        }
        // Four-byte sequences lie above U+FFFF and take a surrogate pair in UTF-16.
        units += shape->length == 4 ? std::size_t{2} : std::size_t{1};
        position += shape->length;
    }
    return units;
}

}  // namespace norvessa::dataset
