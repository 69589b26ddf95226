#include "platform/jet/text_codec.h"

#include <array>

namespace norvessa::jet {
namespace {

bool startsCompressed(std::span<const std::uint8_t> stored) {
    return stored.size() >= 2 && stored[0] == kCompressedTextMarker[0] &&
           stored[1] == kCompressedTextMarker[1];
}

void appendUcs2(std::vector<std::uint8_t>& out, char16_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

// Characters the compressed form can hold in one byte.
bool isNarrow(char16_t unit) {
    return unit >= 0x01 && unit <= 0xFF;
}

}  // namespace

std::u16string decodeText(std::span<const std::uint8_t> stored) {
    std::u16string text;
    if (!startsCompressed(stored)) {
        text.reserve(stored.size() / 2);
        for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
            text.push_back(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
        }
        return text;
    }
    text.reserve(stored.size() - 2);
    bool compressed = true;
    std::size_t i = 2;
    while (i < stored.size()) {
        if (stored[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            text.push_back(stored[i]);
            ++i;
        } else if (i + 1 < stored.size()) {
            text.push_back(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
            i += 2;
        } else {
            break;
        }
    }
    return text;
}

std::vector<std::uint8_t> encodeUcs2(std::u16string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    for (char16_t unit : text) {
        appendUcs2(out, unit);
    }
    return out;
}

std::vector<std::uint8_t> encodeText(std::u16string_view text, bool compress) {
    if (!compress || text.empty()) {
        return encodeUcs2(text);
    }
    for (char16_t unit : text) {
        if ((unit & 0xFF) == 0) {
            return encodeUcs2(text);
        }
    }
    // Cheapest sequence of modes: cost[m] = bytes so far when the current character is written
    // in mode m (0 compressed, 1 plain); a mode change costs one toggle byte.
    constexpr std::size_t kInfinite = std::size_t{1} << 40;
    const std::size_t n = text.size();
    std::vector<std::array<std::uint8_t, 2>> cameFrom(n);
    std::array<std::size_t, 2> cost{0, 1};  // the compressed form starts in compressed mode
    for (std::size_t i = 0; i < n; ++i) {
        std::array<std::size_t, 2> next{};
        for (std::size_t mode = 0; mode < 2; ++mode) {
            const std::size_t charCost = mode == 0 ? (isNarrow(text[i]) ? 1 : kInfinite) : 2;
            const std::size_t stay = cost[mode];
            const std::size_t change = cost[1 - mode] + 1;
            cameFrom[i][mode] = static_cast<std::uint8_t>(stay <= change ? mode : 1 - mode);
            next[mode] = std::min(stay, change) + charCost;
        }
        cost = next;
    }
    std::size_t mode = cost[0] <= cost[1] ? 0 : 1;
    const std::size_t total = 2 + cost[mode];
    if (total >= 2 * n) {
        return encodeUcs2(text);
    }
    std::vector<std::uint8_t> modes(n);
    for (std::size_t i = n; i-- > 0;) {
        modes[i] = static_cast<std::uint8_t>(mode);
        mode = cameFrom[i][mode];
    }
    std::vector<std::uint8_t> out(kCompressedTextMarker, kCompressedTextMarker + 2);
    out.reserve(total);
    std::uint8_t current = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (modes[i] != current) {
            out.push_back(0);
            current = modes[i];
        }
        if (current == 0) {
            out.push_back(static_cast<std::uint8_t>(text[i]));
        } else {
            appendUcs2(out, text[i]);
        }
    }
    return out;
}

char16_t foldCaseBeyondAscii(char16_t c) {
    const auto plus = [c](int delta) { return static_cast<char16_t>(c + delta); };
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A)) {
        return plus(32);
    }
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
            return c;
        }
        if (c == 0x178) {
            return 0xFF;
        }
        const bool upperIsOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool isUpper = upperIsOdd ? (c % 2 == 1) : (c % 2 == 0);
        return isUpper ? plus(1) : c;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return plus(80);
    }
    switch (c) {
        case 0x386:
            return 0x3AC;
        case 0x388:
        case 0x389:
        case 0x38A:
            return plus(37);
        case 0x38C:
            return 0x3CC;
        case 0x38E:
        case 0x38F:
            return plus(63);
        default:
            return c;
    }
}

bool textEqualsIgnoringCase(std::u16string_view left, std::u16string_view right) {
    const auto trimmed = [](std::u16string_view text) {
        while (!text.empty() && text.back() == u' ') {
            text.remove_suffix(1);
        }
        return text;
    };
    left = trimmed(left);
    right = trimmed(right);
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (foldCase(left[i]) != foldCase(right[i])) {
            return false;
        }
    }
    return true;
}

namespace {

// Compares stored text bytes (compressed or plain) with a folded key one character at a time,
// decoding nothing into memory. With `wholeValue` only blanks may follow the key, otherwise
// anything may.
bool storedTextMatches(std::span<const std::uint8_t> stored, std::u16string_view foldedKey,
                       bool wholeValue) {
    std::size_t matched = 0;
    enum class Step { Go, Fail, Done };
    const auto accept = [&](char16_t unit) {
        if (matched < foldedKey.size()) {
            if (foldCase(unit) != foldedKey[matched]) {
                return Step::Fail;
            }
            ++matched;
            return !wholeValue && matched == foldedKey.size() ? Step::Done : Step::Go;
        }
        return unit == u' ' ? Step::Go : Step::Fail;
    };
    if (!wholeValue && foldedKey.empty()) {
        return true;
    }
    if (!startsCompressed(stored)) {
        if (stored.size() / 2 < foldedKey.size()) {
            return false;
        }
        for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
            const Step step = accept(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
            if (step != Step::Go) {
                return step == Step::Done;
            }
        }
        return matched == foldedKey.size();
    }
    bool compressed = true;
    std::size_t i = 2;
    while (i < stored.size()) {
        Step step = Step::Go;
        if (stored[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            step = accept(stored[i]);
            ++i;
        } else if (i + 1 < stored.size()) {
            step = accept(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
            i += 2;
        } else {
            break;
        }
        if (step != Step::Go) {
            return step == Step::Done;
        }
    }
    return matched == foldedKey.size();
}

}  // namespace

bool storedTextContains(std::span<const std::uint8_t> stored, std::u16string_view foldedText) {
    // Text columns hold at most 255 characters; longer stored text is decoded as a whole.
    std::array<char16_t, 256> folded{};
    if (stored.size() > 2 * folded.size()) {
        std::u16string text = decodeText(stored);
        for (char16_t& unit : text) {
            unit = foldCase(unit);
        }
        return text.find(foldedText) != std::u16string::npos;
    }
    std::size_t count = 0;
    const auto keep = [&](char16_t unit) { folded[count++] = foldCase(unit); };
    if (!startsCompressed(stored)) {
        for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
            keep(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
        }
    } else {
        bool compressed = true;
        for (std::size_t i = 2; i < stored.size();) {
            if (stored[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                keep(stored[i++]);
            } else if (i + 1 < stored.size()) {
                keep(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
                i += 2;
            } else {
                break;
            }
        }
    }
    return std::u16string_view(folded.data(), count).find(foldedText) != std::u16string_view::npos;
}

bool storedTextEquals(std::span<const std::uint8_t> stored, std::u16string_view foldedKey) {
    return storedTextMatches(stored, foldedKey, true);
}

bool storedTextStartsWith(std::span<const std::uint8_t> stored, std::u16string_view foldedPrefix) {
    return storedTextMatches(stored, foldedPrefix, false);
}

}  // namespace norvessa::jet
