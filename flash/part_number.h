#pragma once

// Decodes NAND part numbers by each maker's naming scheme: Samsung K9…, Hynix H27… and the
// older HY27…, Toshiba TC58/TH58, SanDisk SDTN…, Micron MT29F (current and pre-2009 forms),
// Intel JS29F/29F, ST and Numonyx NAND…, Spansion S34ML/S34MS. Ordering codes (package,
// temperature and packing suffixes such as "-PCB0", "TR-BC", "TG00", "WP") decode like their
// base part. A field the scheme does not give, or a letter the scheme does not define, stays
// empty.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "flash/flash_traits.h"
#include "flash/maker.h"

namespace norvessa::flash {

struct PartDecode {
    std::optional<Maker> maker;                // empty when no scheme's prefix matches
    std::optional<std::uint64_t> densityBits;  // the whole package
    std::optional<int> bitsPerCell;
    std::optional<int> busWidthBits;
    std::optional<int> chipEnables;
    std::optional<int> dies;
    std::optional<Supply> supply;
    std::optional<int> generation;  // 1 for the first generation
    std::optional<std::uint32_t> pageBytes;
    std::optional<std::uint32_t> blockBytes;
    std::optional<std::string> process;  // "56nm", "A19nm"
    // True for a Toggle or ONFI synchronous (DDR) interface, false for asynchronous only.
    std::optional<bool> ddrInterface;

    friend bool operator==(const PartDecode&, const PartDecode&) = default;
};

// Decodes `partNumber` (upper or lower case, surrounding blanks ignored).
PartDecode decodePartNumber(std::string_view partNumber);

}  // namespace norvessa::flash
