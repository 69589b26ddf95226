#include "tools/dataset_check/flash_fields.h"

#include <charconv>

#include "flash/flash_traits.h"

namespace norvessa::dataset::check {

namespace {

// A whole decimal number that fills `text`.
std::optional<std::uint64_t> wholeNumber(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// Bytes of a size written "512", "512B", "1K", "1KB", "2KB".
std::optional<std::uint64_t> sizeBytes(std::string_view text, bool unitRequired) {
    if (text.ends_with("KB")) {
        const auto kilobytes = wholeNumber(text.substr(0, text.size() - 2));
        return kilobytes ? std::optional(*kilobytes * 1024) : std::nullopt;
    }
    if (text.ends_with("K")) {
        const auto kilobytes = wholeNumber(text.substr(0, text.size() - 1));
        return kilobytes ? std::optional(*kilobytes * 1024) : std::nullopt;
    }
    if (text.ends_with("B")) {
        return wholeNumber(text.substr(0, text.size() - 1));
    }
    return unitRequired ? std::nullopt : wholeNumber(text);
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<std::uint64_t> capacityBits(std::string_view text) {
    text = trimmed(text);
    if (text.ends_with("GB")) {
        const auto gigabytes = wholeNumber(text.substr(0, text.size() - 2));
        return gigabytes ? std::optional(*gigabytes * 8 * flash::kGigabit) : std::nullopt;
    }
    if (text.ends_with("MB")) {
        const auto megabytes = wholeNumber(text.substr(0, text.size() - 2));
        return megabytes ? std::optional(*megabytes * 8 * flash::kMegabit) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<CellType> cellType(std::string_view text) {
    text = trimmed(text);
    const auto dash = text.find('-');
    const auto bits = flash::bitsPerCellOfName(text.substr(0, dash));
    if (!bits) {
        return std::nullopt;
    }
    CellType type{*bits, std::nullopt};
    if (dash == std::string_view::npos) {
        return type;
    }
    const auto page = sizeBytes(text.substr(dash + 1), false);
    if (!page || *page == 0) {
        return std::nullopt;
    }
    type.pageBytes = static_cast<std::uint32_t>(*page);
    return type;
}

std::optional<BusWidth> busWidth(std::string_view text) {
    text = trimmed(text);
    BusWidth width;
    if (text.ends_with(" DDR")) {
        width.ddr = true;
        text.remove_suffix(4);
    }
    if (text == "8bit") {
        width.bits = 8;
    } else if (text == "16bit") {
        width.bits = 16;
    } else {
        return std::nullopt;
    }
    return width;
}

std::optional<int> chipEnables(std::string_view text) {
    text = trimmed(text);
    if (!text.ends_with("CE")) {
        return std::nullopt;
    }
    const auto count = wholeNumber(text.substr(0, text.size() - 2));
    if (!count || *count == 0 || *count > 64) {
        return std::nullopt;
    }
    return static_cast<int>(*count);
}

std::optional<int> eccBitsPerKiB(std::string_view text) {
    text = trimmed(text);
    if (text == "Error Free") {
        return 0;
    }
    const auto slash = text.find("b/");
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto bits = wholeNumber(text.substr(0, slash));
    const auto sector = sizeBytes(text.substr(slash + 2), true);
    if (!bits || !sector || *sector == 0 || *bits > 10000) {
        return std::nullopt;
    }
    return static_cast<int>((*bits * 1024 + *sector - 1) / *sector);
}

std::string capacityText(std::uint64_t bits) {
    const std::uint64_t megabytes = bits / (8 * flash::kMegabit);
    if (megabytes >= 1024 && megabytes % 1024 == 0) {
        return std::to_string(megabytes / 1024) + "GB";
    }
    if (megabytes >= 1024) {
        return std::to_string(megabytes / 1024) + "." +
               std::to_string(megabytes % 1024 * 10 / 1024) + "GB";
    }
    return std::to_string(megabytes) + "MB";
}

}  // namespace norvessa::dataset::check
