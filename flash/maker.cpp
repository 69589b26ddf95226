#include "flash/maker.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace norvessa::flash {

namespace {

struct MakerCode {
    std::uint8_t code;
    Maker maker;
};

constexpr std::array<MakerCode, 18> kMakerCodes = {{
    {0xEC, Maker::Samsung},
    {0xAD, Maker::Hynix},
    {0x98, Maker::Toshiba},
    {0x45, Maker::SanDisk},
    {0x2C, Maker::Micron},
    {0x89, Maker::Intel},
    {0x20, Maker::StNumonyx},
    {0x01, Maker::Spansion},
    {0xB5, Maker::SpecTek},
    {0x07, Maker::Renesas},
    {0x04, Maker::Fujitsu},
    {0x8F, Maker::National},
    {0xC2, Maker::Macronix},
    {0xEF, Maker::Winbond},
    {0xC1, Maker::Infineon},
    {0x51, Maker::Qimonda},
    {0x4A, Maker::Smic},
    {0xF8, Maker::Fidelix},
}};

struct BrandWord {
    std::string_view word;
    Maker maker;
};

constexpr std::array<BrandWord, 14> kBrandWords = {{
    {"samsung", Maker::Samsung},
    {"hynix", Maker::Hynix},
    {"sk", Maker::Hynix},
    {"toshiba", Maker::Toshiba},
    {"kioxia", Maker::Toshiba},
    {"sandisk", Maker::SanDisk},
    {"micron", Maker::Micron},
    {"intel", Maker::Intel},
    {"st", Maker::StNumonyx},
    {"numonyx", Maker::StNumonyx},
    {"spansion", Maker::Spansion},
    {"amd", Maker::Spansion},
    {"cypress", Maker::Spansion},
    {"spectek", Maker::SpecTek},
}};

}  // namespace

std::optional<Maker> makerOfCode(std::uint8_t code) {
    const auto* found = std::find_if(kMakerCodes.begin(), kMakerCodes.end(),
                                     [code](const MakerCode& entry) { return entry.code == code; });
    if (found == kMakerCodes.end()) {
        return std::nullopt;
    }
    return found->maker;
}

std::string_view makerName(Maker maker) {
    switch (maker) {
        case Maker::Samsung:
            return "Samsung";
        case Maker::Hynix:
            return "Hynix";
        case Maker::Toshiba:
            return "Toshiba";
        case Maker::SanDisk:
            return "SanDisk";
        case Maker::Micron:
            return "Micron";
        case Maker::Intel:
            return "Intel";
        case Maker::StNumonyx:
            return "ST/Numonyx";
        case Maker::Spansion:
            return "Spansion";
        case Maker::SpecTek:
            return "SpecTek";
        case Maker::Renesas:
            return "Renesas";
        case Maker::Fujitsu:
            return "Fujitsu";
        case Maker::National:
            return "National";
        case Maker::Macronix:
            return "Macronix";
        case Maker::Winbond:
            return "Winbond";
        case Maker::Infineon:
            return "Infineon";
        case Maker::Qimonda:
            return "Qimonda";
        case Maker::Smic:
            return "SMIC";
        case Maker::Fidelix:
            return "Fidelix";
    }
    return "?";
}

std::optional<Maker> makerOfBrand(std::string_view brand) {
    const auto start = brand.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const auto end = brand.find_first_of(" \t\r\n", start);
    std::string word(brand.substr(start, end == std::string_view::npos ? end : end - start));
    std::transform(word.begin(), word.end(), word.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    for (const auto& entry : kBrandWords) {
        if (word == entry.word) {
            return entry.maker;
        }
    }
    return std::nullopt;
}

}  // namespace norvessa::flash
