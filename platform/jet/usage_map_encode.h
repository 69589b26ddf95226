#pragma once

// Encoders for usage maps: the row that names a set of pages, inline (type 0: first page and a
// bitmap) or by reference (type 1: the numbers of type-0x05 map pages holding the bitmaps), the
// map pages themselves, and the database's global map on page 1. The decoder is usage_map.h.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace norvessa::jet {

// Whether `pages` (ascending) fit one inline map of the size Access writes: 512 pages from
// the first one.
bool fitsInlineUsageMap(std::span<const std::uint32_t> pages);

// An inline map row whose window starts at the first page (page 0 for an empty set). The pages
// must fit (fitsInlineUsageMap).
std::vector<std::uint8_t> encodeInlineUsageMap(std::span<const std::uint32_t> pages);

// The map-page slots a reference map of `pages` (ascending) needs, ascending: slot k covers
// pages k * 32736 .. (k + 1) * 32736 - 1. Throws JetError(Unsupported) beyond the 17 slots.
std::vector<std::size_t> usageMapPageSlots(std::span<const std::uint32_t> pages);

// A reference map row; `mapPages[k]` is the page of slot k, 0 where the slot is unused.
std::vector<std::uint8_t> encodeReferenceUsageMap(std::span<const std::uint32_t> mapPages);

// The type-0x05 page of slot `slot` holding the bits of those `pages` that fall into it.
std::vector<std::uint8_t> encodeUsageMapPage(std::span<const std::uint32_t> pages,
                                             std::size_t slot);

// The global map of a file: its row (page 1, row 0), whose set bits mark free pages, here
// those at and beyond the end of the file, and the type-0x05 pages it refers to.
struct GlobalUsageMap {
    std::vector<std::uint8_t> row;
    std::vector<std::vector<std::uint8_t>> mapPages;
};

// The global map of a file of `pageCount` pages. While page 1 holds the bitmap of the whole
// file the map is inline from page 0 and has no map pages; beyond that it is a reference map
// whose map pages must be appended to the file as pages pageCount, pageCount + 1, ... (the map
// counts them among the used pages). Throws JetError(Unsupported) when the file with them
// would be larger than a usage map covers (17 map pages).
GlobalUsageMap encodeGlobalUsageMap(std::size_t pageCount);

}  // namespace norvessa::jet
