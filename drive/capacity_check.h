#pragma once

// The announced capacity (READ CAPACITY) against what the flash holds: the density per chip
// enable of each flash ID, over the chip enables that answered. Nothing is written. A drive
// that announces more than its flash holds was likely resized by a production tool; only a
// full write test (f3) tells how much of it really stores data.
//
// "Likely resized" is said only when every ID's density is certain: given by an unambiguous
// layout decode (flash/id_decoder gives a density only then), or, where the layout gives none,
// by the sourced parts of that exact ID agreeing. Otherwise the check says it cannot tell, and
// why.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drive/reply_parsers.h"

namespace norvessa::drive {

// The density per chip enable of one ID, when certain, and where it comes from or why it is
// not known.
struct CertainDensity {
    std::optional<std::uint64_t> ceBits;
    std::string reason;
};
CertainDensity certainDensity(std::span<const std::uint8_t> id);

struct CapacityCheck {
    std::optional<std::uint64_t> announcedBytes;
    std::optional<std::uint64_t> flashBytes;  // none when a density is not certain
    bool likelyResized = false;
    std::string verdict;  // one sentence for the report
};

CapacityCheck checkCapacity(std::optional<std::uint64_t> announcedBytes,
                            const std::vector<ChipEnableId>& flashIds);

}  // namespace norvessa::drive
