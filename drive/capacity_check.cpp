#include "drive/capacity_check.h"

#include "drive/units.h"
#include "flash/id_decoder.h"

namespace norvessa::drive {

CapacityCheck checkCapacity(std::optional<std::uint64_t> announcedBytes,
                            const std::vector<ChipEnableId>& flashIds) {
    CapacityCheck check;
    check.announcedBytes = announcedBytes;
    std::uint64_t flashBits = 0;
    bool known = !flashIds.empty();
    for (const ChipEnableId& chipEnable : flashIds) {
        if (chipEnable.id.size() < flash::kMinIdBytes ||
            chipEnable.id.size() > flash::kMaxIdBytes) {
            known = false;
            break;
        }
        const auto density = flash::decodeId(chipEnable.id).ceDensityBits;
        if (!density) {
            known = false;
            break;
        }
        flashBits += *density;
    }
    if (known) {
        check.flashBytes = flashBits / 8;
    }
    if (!announcedBytes) {
        check.verdict = "cannot check: the drive did not announce its capacity";
    } else if (!check.flashBytes) {
        check.verdict = flashIds.empty() ? "cannot check: no flash ID was read"
                                         : "cannot check: the density of a flash ID is unknown";
    } else if (*announcedBytes > *check.flashBytes) {
        check.likelyResized = true;
        check.verdict = "the announced " + sizeText(*announcedBytes) + " exceeds the " +
                        sizeText(*check.flashBytes) +
                        " the flash holds: the drive was likely resized. Run a full write test "
                        "(f3write and f3read, or f3probe, from Debian's package f3) before "
                        "trusting it with data";
    } else {
        check.verdict = "the announced " + sizeText(*announcedBytes) + " fits in the " +
                        sizeText(*check.flashBytes) + " the flash holds";
    }
    return check;
}

}  // namespace norvessa::drive
