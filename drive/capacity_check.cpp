#include "drive/capacity_check.h"

#include <algorithm>
#include <set>

#include "drive/id_answer.h"
#include "drive/units.h"
#include "flash/id_decoder.h"

namespace norvessa::drive {

namespace {

std::size_t bytesGiven(const std::string& idText) {
    return static_cast<std::size_t>(std::count(idText.begin(), idText.end(), ' ')) + 1;
}

}  // namespace

CertainDensity certainDensity(std::span<const std::uint8_t> id) {
    if (id.size() < flash::kMinIdBytes || id.size() > flash::kMaxIdBytes) {
        return {std::nullopt, "the ID " + idText(id) + " has no 2 to 8 bytes"};
    }
    const IdAnswer answer = answerId(id);
    if (answer.decoded.ceDensityBits) {
        return {answer.decoded.ceDensityBits, densityText(*answer.decoded.ceDensityBits) +
                                                  " per CE from the ID layout (" +
                                                  answer.decoded.scheme + ")"};
    }
    // Parts whose whole sourced ID, five bytes at least, the ID answers to.
    std::set<std::uint64_t> densities;
    for (const SourcedPart& part : answer.parts) {
        if (part.comparedBytes < 5 || part.comparedBytes != bytesGiven(part.id) ||
            part.chipMegabits == 0) {
            continue;
        }
        const std::uint64_t perCe = std::uint64_t{part.chipMegabits} << 20;
        densities.insert(part.chipEnables > 1 ? perCe / static_cast<std::uint64_t>(part.chipEnables)
                                              : perCe);
    }
    if (densities.size() == 1) {
        return {*densities.begin(),
                densityText(*densities.begin()) + " per CE from the sourced parts of this ID"};
    }
    const std::string layout = "the ID layout gives no density (" + answer.decoded.scheme + ")";
    if (densities.empty()) {
        return {std::nullopt, idText(id) + ": " + layout +
                                  " and no sourced part of this exact ID "
                                  "gives one"};
    }
    std::string given;
    for (const std::uint64_t density : densities) {
        given += (given.empty() ? "" : ", ") + densityText(density);
    }
    return {std::nullopt, idText(id) + ": " + layout +
                              " and the sourced parts of this ID differ (" + given + ")"};
}

CapacityCheck checkCapacity(std::optional<std::uint64_t> announcedBytes,
                            const std::vector<ChipEnableId>& flashIds) {
    CapacityCheck check;
    check.announcedBytes = announcedBytes;
    std::uint64_t flashBits = 0;
    std::optional<std::string> unknownWhy;
    if (flashIds.empty()) {
        unknownWhy = "no flash ID was read";
    }
    for (const ChipEnableId& chipEnable : flashIds) {
        const CertainDensity density = certainDensity(chipEnable.id);
        if (!density.ceBits) {
            unknownWhy = "the density of " + density.reason;
            break;
        }
        flashBits += *density.ceBits;
    }
    if (!unknownWhy) {
        check.flashBytes = flashBits / 8;
    }
    if (!announcedBytes) {
        check.verdict = "cannot check: the drive did not announce its capacity";
    } else if (!check.flashBytes) {
        check.verdict = "cannot tell whether the drive was resized: " + *unknownWhy;
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
