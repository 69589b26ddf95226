#include "flash/part_number.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "flash/part_schemes.h"

namespace norvessa::flash {

namespace parts {

std::optional<std::uint64_t> letterDensity(std::string_view code) {
    struct DensityCode {
        std::string_view code;
        std::uint64_t megabits;
    };
    static constexpr std::array<DensityCode, 21> kCodes = {{
        {"16", 16},     {"32", 32},     {"64", 64},     {"28", 128},    {"56", 256},
        {"12", 512},    {"1G", 1024},   {"2G", 2048},   {"4G", 4096},   {"8G", 8192},
        {"AG", 16384},  {"BG", 32768},  {"CG", 65536},  {"DG", 131072}, {"EG", 262144},
        {"FG", 262144}, {"GG", 393216}, {"HG", 524288}, {"NG", 98304},  {"LG", 24576},
        {"ZG", 49152},
    }};
    for (const auto& entry : kCodes) {
        if (entry.code == code) {
            return entry.megabits * kMegabit;
        }
    }
    return std::nullopt;
}

Digits readDigits(std::string_view text, std::size_t index) {
    Digits digits;
    while (index + digits.count < text.size() && digits.count < 6) {
        const char c = text[index + digits.count];
        if (c < '0' || c > '9') {
            break;
        }
        digits.value = digits.value * 10 + static_cast<std::uint64_t>(c - '0');
        ++digits.count;
    }
    return digits;
}

}  // namespace parts

PartDecode decodePartNumber(std::string_view partNumber) {
    const auto first = partNumber.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = partNumber.find_last_not_of(" \t\r\n");
    std::string part(partNumber.substr(first, last - first + 1));
    std::transform(part.begin(), part.end(), part.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    const std::string_view view = part;
    if (view.starts_with("K9")) {
        return parts::decodeSamsung(view);
    }
    if (view.starts_with("H27") || view.starts_with("HY27")) {
        return parts::decodeHynix(view);
    }
    if (view.starts_with("TC58") || view.starts_with("TH58")) {
        return parts::decodeToshiba(view);
    }
    if (view.starts_with("SD") && view.size() > 3 && view[3] == 'N' &&
        std::string_view("TYQZ").find(view[2]) != std::string_view::npos) {
        return parts::decodeSanDisk(view);
    }
    if (view.starts_with("MT29F")) {
        return parts::decodeMicron(view);
    }
    if (view.starts_with("JS29F") || view.starts_with("PF29F") || view.starts_with("BK29F") ||
        view.starts_with("29F")) {
        return parts::decodeIntel(view);
    }
    if (view.starts_with("NAND")) {
        return parts::decodeStNumonyx(view);
    }
    if (view.starts_with("S34M")) {
        return parts::decodeSpansion(view);
    }
    return {};
}

}  // namespace norvessa::flash
