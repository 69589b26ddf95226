#include "platform/jet/text_codec.h"

#include <array>
#include <string>
#include <utility>

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

namespace {

// Hands each UTF-16 code unit of a stored text to `take`, in order: plain UCS-2, or the
// compressed form, where a zero byte switches between one-byte and two-byte characters.
template <typename Take>
void forEachUnit(std::span<const std::uint8_t> stored, Take&& take) {
    if (!startsCompressed(stored)) {
        for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
            take(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
        }
        return;
    }
    bool compressed = true;
    std::size_t i = 2;
    while (i < stored.size()) {
        if (stored[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            take(static_cast<char16_t>(stored[i]));
            ++i;
        } else if (i + 1 < stored.size()) {
            take(static_cast<char16_t>(stored[i] | stored[i + 1] << 8));
            i += 2;
        } else {
            break;
        }
    }
}

// UTF-16 code units to UTF-8, as text::utf16ToUtf8 converts them: a surrogate that is not half
// of a pair becomes U+FFFD. Writes through a cursor into room the caller has made: at most four
// bytes for each unit.
class Utf8Appender {
  public:
    explicit Utf8Appender(char* out) : out_(out) {}

    void operator()(char16_t unit) {
        if (pendingHigh_ != 0) {
            const char16_t high = std::exchange(pendingHigh_, 0);
            if (isLowSurrogate(unit)) {
                append(0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) +
                       (static_cast<char32_t>(unit) - 0xDC00));
                return;
            }
            append(kReplacement);
        }
        if (isHighSurrogate(unit)) {
            pendingHigh_ = unit;
        } else {
            append(isLowSurrogate(unit) ? kReplacement : unit);
        }
    }

    // Where the text ends.
    char* finish() {
        if (std::exchange(pendingHigh_, 0) != 0) {
            append(kReplacement);
        }
        return out_;
    }

  private:
    static constexpr char32_t kReplacement = 0xFFFD;

    static bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
    static bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

    void put(char32_t byte) { *out_++ = static_cast<char>(byte); }

    void append(char32_t codePoint) {
        if (codePoint < 0x80) {
            put(codePoint);
        } else if (codePoint < 0x800) {
            put(0xC0 | codePoint >> 6);
            put(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            put(0xE0 | codePoint >> 12);
            put(0x80 | (codePoint >> 6 & 0x3F));
            put(0x80 | (codePoint & 0x3F));
        } else {
            put(0xF0 | codePoint >> 18);
            put(0x80 | (codePoint >> 12 & 0x3F));
            put(0x80 | (codePoint >> 6 & 0x3F));
            put(0x80 | (codePoint & 0x3F));
        }
    }

    char* out_;
    char16_t pendingHigh_ = 0;
};

}  // namespace

std::u16string decodeText(std::span<const std::uint8_t> stored) {
    std::u16string text;
    text.reserve(startsCompressed(stored) ? stored.size() - 2 : stored.size() / 2);
    forEachUnit(stored, [&text](char16_t unit) { text.push_back(unit); });
    return text;
}

std::string decodeTextAsUtf8(std::span<const std::uint8_t> stored) {
    // A compressed byte gives at most two bytes of UTF-8, two stored bytes at most three, and a
    // surrogate left unpaired at the end three for its two.
    const std::size_t room = 2 * stored.size();
    const auto decodeInto = [stored](char* out) {
        Utf8Appender append(out);
        forEachUnit(stored, [&append](char16_t unit) { append(unit); });
        return append.finish();
    };
    // A text column's value (at most 255 characters) is decoded on the stack, so that a short
    // result stays within the string's own storage.
    constexpr std::size_t kStackRoom = 1024;
    if (room <= kStackRoom) {
        std::array<char, kStackRoom> buffer;
        return std::string(buffer.data(), decodeInto(buffer.data()));
    }
    std::string text(room, '\0');
    text.resize(static_cast<std::size_t>(decodeInto(text.data()) - text.data()));
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
    // in mode m (0 compressed, 1 plain); a mode change costs one toggle byte. Costs are 64-bit
    // so that the stand-in for "impossible" stays far above any real cost where size_t is 32.
    constexpr std::uint64_t kInfinite = std::uint64_t{1} << 40;
    const std::size_t n = text.size();
    std::vector<std::array<std::uint8_t, 2>> cameFrom(n);
    std::array<std::uint64_t, 2> cost{0, 1};  // the compressed form starts in compressed mode
    for (std::size_t i = 0; i < n; ++i) {
        std::array<std::uint64_t, 2> next{};
        for (std::size_t mode = 0; mode < 2; ++mode) {
            const std::uint64_t charCost = mode == 0 ? (isNarrow(text[i]) ? 1 : kInfinite) : 2;
            const std::uint64_t stay = cost[mode];
            const std::uint64_t change = cost[1 - mode] + 1;
            cameFrom[i][mode] = static_cast<std::uint8_t>(stay <= change ? mode : 1 - mode);
            next[mode] = std::min(stay, change) + charCost;
        }
        cost = next;
    }
    std::size_t mode = cost[0] <= cost[1] ? 0 : 1;
    const std::uint64_t total = 2 + cost[mode];
    if (total >= 2 * std::uint64_t{n}) {
        return encodeUcs2(text);
    }
    std::vector<std::uint8_t> modes(n);
    for (std::size_t i = n; i-- > 0;) {
        modes[i] = static_cast<std::uint8_t>(mode);
        mode = cameFrom[i][mode];
    }
    std::vector<std::uint8_t> out(kCompressedTextMarker, kCompressedTextMarker + 2);
    out.reserve(static_cast<std::size_t>(total));
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
