#pragma once

// The announced capacity (READ CAPACITY) against what the flash holds: the density per chip
// enable each flash ID gives, over the chip enables that answered. Nothing is written. A drive
// that announces more than its flash holds was likely resized by a production tool; only a
// full write test (f3) tells how much of it really stores data.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drive/reply_parsers.h"

namespace norvessa::drive {

struct CapacityCheck {
    std::optional<std::uint64_t> announcedBytes;
    std::optional<std::uint64_t> flashBytes;  // none when an ID's density is unknown
    bool likelyResized = false;
    std::string verdict;  // one sentence for the report
};

CapacityCheck checkCapacity(std::optional<std::uint64_t> announcedBytes,
                            const std::vector<ChipEnableId>& flashIds);

}  // namespace norvessa::drive
