#include "flash/flash_traits.h"

namespace norvessa::flash {

std::string_view supplyText(Supply supply) {
    switch (supply) {
        case Supply::V3_3:
            return "3.3V";
        case Supply::V1_8:
            return "1.8V";
        case Supply::V3_3CoreV1_8Io:
            return "3.3V/1.8V I/O";
    }
    return "?";
}

std::string_view cellName(int bitsPerCell) {
    switch (bitsPerCell) {
        case 1:
            return "SLC";
        case 2:
            return "MLC";
        case 3:
            return "TLC";
        case 4:
            return "QLC";
        default:
            return {};
    }
}

std::optional<int> bitsPerCellOfName(std::string_view name) {
    for (int bits = 1; bits <= 4; ++bits) {
        if (cellName(bits) == name) {
            return bits;
        }
    }
    return std::nullopt;
}

}  // namespace norvessa::flash
