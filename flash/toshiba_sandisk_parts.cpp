// Toshiba TC58/TH58 and SanDisk SD?N… part numbers. The two makers share dies but not naming.

#include <string>
#include <string_view>

#include "flash/part_schemes.h"

namespace norvessa::flash::parts {

namespace {

std::optional<int> cellOfLetter(char letter, std::string_view slc, std::string_view mlc,
                                std::string_view tlc) {
    if (letter == '\0') {
        return std::nullopt;
    }
    if (slc.find(letter) != std::string_view::npos) {
        return 1;
    }
    if (mlc.find(letter) != std::string_view::npos) {
        return 2;
    }
    if (tlc.find(letter) != std::string_view::npos) {
        return 3;
    }
    return std::nullopt;
}

// The process letters Toshiba's decoder (Rev. 1.3, 2010) defines.
std::optional<std::string> toshibaProcess(char letter) {
    switch (letter) {
        case 'A':
            return "130nm";
        case 'D':
            return "56nm";
        case 'E':
            return "43nm";
        case 'F':
            return "32nm";
        case 'G':
        case 'H':
            return "24nm";
        default:
            return std::nullopt;
    }
}

// Density codes: M8 and M9 in megabits, G0 to G9 and T0, T1 doubling from 1 Gbit, and the
// letters GA to GF for the 1.5-times steps between them.
std::optional<std::uint64_t> toshibaDensity(std::string_view code) {
    if (code.size() != 2) {
        return std::nullopt;
    }
    if (code == "M8" || code == "M9") {
        return (code[1] == '8' ? 256 : 512) * kMegabit;
    }
    const char step = code[1];
    if (code[0] == 'T' && (step == '0' || step == '1')) {
        return kGigabit << (10 + (step - '0'));
    }
    if (code[0] != 'G') {
        return std::nullopt;
    }
    if (step >= '0' && step <= '9') {
        return kGigabit << (step - '0');
    }
    if (step >= 'A' && step <= 'F') {
        return (kGigabit << (step - 'A' + 4)) * 3 / 2;
    }
    return std::nullopt;
}

// The geometry digit for x8 parts; x16 parts add five.
void applyToshibaGeometry(char digit, PartDecode& result) {
    if (digit < '0' || digit > '9') {
        return;
    }
    int code = digit - '0';
    result.busWidthBits = code >= 5 ? 16 : 8;
    code %= 5;
    constexpr std::uint32_t kKiB = 1024;
    switch (code) {
        case 0:
            result.pageBytes = 4 * kKiB;
            result.blockBytes = 256 * kKiB;
            break;
        case 1:
            result.pageBytes = 4 * kKiB;
            result.blockBytes = 512 * kKiB;
            break;
        case 3:
            result.pageBytes = 2 * kKiB;
            result.blockBytes = 128 * kKiB;
            break;
        case 4:
            result.pageBytes = 2 * kKiB;
            result.blockBytes = 256 * kKiB;
            break;
        default:  // 2: larger than 4K pages and 512K blocks, without saying how much
            break;
    }
}

std::optional<std::string> sanDiskProcess(char letter) {
    switch (letter) {
        case 'L':
            return "56nm";
        case 'M':
            return "43nm";
        case 'N':
            return "32nm";
        case 'P':
            return "24nm";
        case 'Q':
            return "19nm";
        case 'R':
            return "1Ynm";
        case 'S':
            return "15nm";
        default:
            return std::nullopt;
    }
}

}  // namespace

// TC58|TH58 L V DD C w P PK c x: level, voltage, density, cell, geometry digit, process,
// package (two letters), chip enables, and a last character the decoder does not need.
PartDecode decodeToshiba(std::string_view part) {
    PartDecode result;
    result.maker = Maker::Toshiba;
    if (part.starts_with("TC58")) {
        result.dies = 1;
    }
    const char level = at(part, 4);
    if (level == 'T') {
        result.ddrInterface = true;  // Toggle NAND
    } else if (level == 'N' || level == 'D') {
        result.ddrInterface = false;
    }
    switch (at(part, 5)) {
        case 'V':
            result.supply = Supply::V3_3;
            break;
        case 'Y':
            result.supply = Supply::V1_8;
            break;
        case 'A':
            result.supply = Supply::V3_3CoreV1_8Io;
            break;
        default:
            break;
    }
    result.densityBits = toshibaDensity(slice(part, 6, 2));
    result.bitsPerCell = cellOfLetter(at(part, 8), "SH", "DE", "TU");
    applyToshibaGeometry(at(part, 9), result);
    result.process = toshibaProcess(at(part, 10));
    // Toshiba's decoder leaves the mode digit (chip enables) to tables we could not read.
    return result;
}

// SD T N p c d v w M -CCCG: package, NAND, process, cell, dies, voltage, width, lead-free, and
// after the dash the capacity in bytes.
PartDecode decodeSanDisk(std::string_view part) {
    PartDecode result;
    result.maker = Maker::SanDisk;
    result.process = sanDiskProcess(at(part, 4));
    result.bitsPerCell = cellOfLetter(at(part, 5), "", "FGHMQ", "CIN");
    switch (at(part, 6)) {
        case 'A':
            result.dies = 1;
            break;
        case 'B':
            result.dies = 2;
            break;
        case 'C':
            result.dies = 4;
            break;
        case 'D':
            result.dies = 8;
            break;
        default:
            break;
    }
    // The capacity in gigabytes follows the nine letters, after a dash or underscore or not.
    constexpr std::size_t kLetters = 9;
    const std::size_t digitsAt =
        at(part, kLetters) == '-' || at(part, kLetters) == '_' ? kLetters + 1 : kLetters;
    const Digits gigabytes = readDigits(part, digitsAt);
    if (gigabytes.count == 3 && at(part, digitsAt + 3) == 'G') {
        result.densityBits = gigabytes.value * 8 * kGigabit;
    }
    return result;
}

}  // namespace norvessa::flash::parts
