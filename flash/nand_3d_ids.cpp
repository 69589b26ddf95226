#include "flash/nand_3d_ids.h"

#include <algorithm>

namespace norvessa::flash {

namespace {

// iTXTech/fdnext, the decoder's test assertions for these IDs (density per chip enable in Mbit,
// die count, cell level): the Intel fourth-generation list, YMTC 9B D5 58 8D 20 00 and
// SK hynix AD 78 0C 5B 30 E0.
constexpr std::string_view kFdnext = "iTXTech/fdnext decoder test assertions";

constexpr std::array<Nand3dId, 11> kIds = {{
    {{0x89, 0xD3, 0xAC, 0x32, 0xC6}, 4, 1, 1048576, "Intel N38A 144L QLC", kFdnext},
    {{0x89, 0xE3, 0xAD, 0x32, 0xC6}, 4, 2, 2097152, "Intel N38A 144L QLC", kFdnext},
    {{0x89, 0xF3, 0xAE, 0x32, 0xC6}, 4, 4, 4194304, "Intel N38A 144L QLC", kFdnext},
    {{0x89, 0x2B, 0xAF, 0x32, 0xC6}, 4, 8, 8388608, "Intel N38A 144L QLC", kFdnext},
    {{0x89, 0xCB, 0x98, 0x32, 0xC6}, 3, 1, 524288, "Intel 144L TLC", kFdnext},
    {{0x89, 0xDB, 0x99, 0x32, 0xC6}, 3, 2, 1048576, "Intel 144L TLC", kFdnext},
    {{0x89, 0xEB, 0x9A, 0x32, 0xC6}, 3, 4, 2097152, "Intel 144L TLC", kFdnext},
    {{0x89, 0xFB, 0x9B, 0x32, 0xC6}, 3, 8, 4194304, "Intel 144L TLC", kFdnext},
    {{0x9B, 0xD5, 0x58, 0x8D, 0x20}, 4, 0, 1397760, "YMTC X2-6070 (Xtacking 2.0) QLC", kFdnext},
    {{0xAD, 0x78, 0x0C, 0x5B, 0x30}, 4, 0, 2097152, "SK hynix V9 QLC", kFdnext},
    {{0x89, 0x09, 0x06, 0x84, 0x00}, 3, 0, 5591040, "Intel 3D TLC", kFdnext},
}};

}  // namespace

std::optional<Nand3dId> nand3dIdOf(std::span<const std::uint8_t> id) {
    if (id.size() < 5) {
        return std::nullopt;
    }
    const auto* found = std::find_if(kIds.begin(), kIds.end(), [&](const Nand3dId& entry) {
        return std::equal(entry.id.begin(), entry.id.end(), id.begin());
    });
    if (found == kIds.end()) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace norvessa::flash
