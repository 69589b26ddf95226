#include "flash/part_number.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "flash/part_schemes.h"

namespace norvessa::flash {

namespace parts {

std::optional<std::uint64_t> letterDensity(std::string_view code) {
    struct DensityCode {
        std::string_view code;
        std::uint64_t megabits;
    };
    static constexpr std::array<DensityCode, 18> kCodes = {{
        {"28", 128},
        {"56", 256},
        {"12", 512},
        {"1G", 1024},
        {"2G", 2048},
        {"4G", 4096},
        {"8G", 8192},
        {"AG", 16384},
        {"BG", 32768},
        {"CG", 65536},
        {"DG", 131072},
        {"EG", 262144},
        {"FG", 262144},
        {"GG", 393216},
        {"HG", 524288},
        {"NG", 98304},
        {"LG", 24576},
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

namespace {

// The form of each scheme's part numbers, as the data set generator's decoder
// (tools/dataset/part_numbers.py) reads them: a name of another form is no part number of that
// scheme, whatever its prefix. tests/dataset/part_schemes_test.py keeps the two alike.
struct Scheme {
    std::regex form;
    PartDecode (*decode)(std::string_view);
};

const std::vector<Scheme>& schemes() {
    static const std::vector<Scheme> kSchemes = {
        {std::regex(
             R"(K9[A-Z](\d\d|\d[A-Z]|[A-Z][A-Z])([0DYB]8|16)[A-Z][0-9CJ][MA-G](-[A-Z0-9]+)?)"),
         parts::decodeSamsung},
        {std::regex(R"(HY27[USL][A-Z](08|16)(\d\d|\d[A-Z]|[A-Z][A-Z])[0-9A-Z][MA-G][A-Z0-9-]*)"),
         [](std::string_view part) { return parts::decodeHynix(part, true); }},
        {std::regex(R"(HY?27[USQ][0-9A-Z]{2}[86][A-Z][0-9A-Z][MA-G][A-Z0-9-]*)"),
         [](std::string_view part) { return parts::decodeHynix(part, false); }},
        {std::regex(R"(T[CH]58[A-Z][A-Z](M[89]|G[0-9A-F]|T[01])[A-Z][0-9A-Z][0-9A-L])"
                    R"(([A-Z]{2}[0-9A-Z][0-9A-Z])?)"),
         parts::decodeToshiba},
        {std::regex(R"(SD[TYQZ]N[L-S][A-Z][A-D][A-Z]{2}[-_]?\d{3}G[A-Z0-9]*)"),
         parts::decodeSanDisk},
        {std::regex(R"(MT29F\d+[GT](08|16)[ACE][A-Z][A-Z][A-H][ABCF][A-Z0-9]*)"),
         parts::decodeMicron},
        {std::regex(
             R"(MT29F\d+G(08|16)([MQRTUW][AB][A-C](WP|WC|[CDHJ]\d)?|[ABDF][AB][A-C](WP|WC|[CDHJ]\d)))"),
         parts::decodeMicronLegacy},
        {std::regex(R"((JS|PF|BK)?29F\d\d[GB](08|16)[A-Z][A-Z][NMT][A-F]\d[A-Z0-9]*)"),
         parts::decodeIntel},
        {std::regex(R"(NAND(128|256|512|\d\dG)[WR][34][A-Z](\d[A-Z])?[A-Z0-9]*)"),
         parts::decodeStNumonyx},
        {std::regex(R"(S34M[LS]0\dG\d(\d\d)?[A-Z0-9]*)"), parts::decodeSpansion},
    };
    return kSchemes;
}

}  // namespace

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
    if (part.find("XX") != std::string::npos) {
        return {};  // a pattern a list writes for a family ("K9XXG08XXC"), not a part
    }
    for (const auto& scheme : schemes()) {
        if (std::regex_match(part, scheme.form)) {
            PartDecode decoded = scheme.decode(part);
            if (decoded.maker) {
                return decoded;
            }
        }
    }
    return {};
}

}  // namespace norvessa::flash
