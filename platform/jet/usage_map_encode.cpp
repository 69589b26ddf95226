#include "platform/jet/usage_map_encode.h"

#include <algorithm>
#include <string>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {
namespace {

namespace um = layout::usage_map;
namespace dp = layout::data_page;

constexpr std::size_t kInlineWindow = um::kAccessBitmapSize * 8;  // 512 pages

// What page 1 can give its first row: the page minus its header, two slots and the second,
// all-zero row that Access keeps there.
constexpr std::size_t kGlobalMapMaxRow =
    layout::kPageSize - dp::kSlotTable - 2 * dp::kSlotSize - um::kAccessRowSize;

void setBit(std::span<std::uint8_t> bitmap, std::size_t bit) {
    bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | 1U << (bit % 8));
}

// A type-0x05 page with an empty bitmap.
std::vector<std::uint8_t> emptyUsageMapPage() {
    std::vector<std::uint8_t> page(layout::kPageSize, 0);
    ByteWriter out(page, Location{"new usage map page", std::nullopt, std::nullopt},
                   layout::kPageSize);
    out.u8(layout::kPageType, layout::page_type::kUsageMap);
    out.u8(layout::kPageMarkerField, layout::kPageMarker);
    out.check();
    return page;
}

std::vector<std::uint8_t> encodeInlineGlobalUsageMap(std::size_t pageCount,
                                                     std::size_t bitmapSize) {
    std::vector<std::uint8_t> row;
    ByteWriter out(row, Location{"new global usage map", std::nullopt, std::nullopt});
    out.u8(um::kTypeInline);
    out.u32(0);
    std::vector<std::uint8_t> bitmap(bitmapSize, 0);
    for (std::size_t page = pageCount; page < bitmapSize * 8; ++page) {
        setBit(bitmap, page);
    }
    out.bytes(bitmap);
    out.check();
    return row;
}

}  // namespace

bool fitsInlineUsageMap(std::span<const std::uint32_t> pages) {
    return pages.empty() || pages.back() - pages.front() < kInlineWindow;
}

std::vector<std::uint8_t> encodeInlineUsageMap(std::span<const std::uint32_t> pages) {
    const std::uint32_t start = pages.empty() ? 0 : pages.front();
    std::vector<std::uint8_t> row;
    ByteWriter out(row, Location{"new usage map", std::nullopt, std::nullopt});
    out.u8(um::kTypeInline);
    out.u32(start);
    std::vector<std::uint8_t> bitmap(um::kAccessBitmapSize, 0);
    for (const std::uint32_t page : pages) {
        if (page - start >= kInlineWindow) {
            throw JetError(ErrorKind::InvalidArgument,
                           "page " + std::to_string(page) + " lies outside an inline usage map");
        }
        setBit(bitmap, page - start);
    }
    out.bytes(bitmap);
    out.check();
    return row;
}

std::vector<std::size_t> usageMapPageSlots(std::span<const std::uint32_t> pages) {
    std::vector<std::size_t> slots;
    for (const std::uint32_t page : pages) {
        const std::size_t slot = page / layout::map_page::kPagesCovered;
        if (slot >= um::kMaxMapPages) {
            throw JetError(ErrorKind::Unsupported,
                           "page " + std::to_string(page) + " is beyond what a usage map covers");
        }
        if (slots.empty() || slots.back() != slot) {
            slots.push_back(slot);
        }
    }
    return slots;
}

std::vector<std::uint8_t> encodeReferenceUsageMap(std::span<const std::uint32_t> mapPages) {
    std::vector<std::uint8_t> row;
    ByteWriter out(row, Location{"new usage map", std::nullopt, std::nullopt}, um::kAccessRowSize);
    out.u8(um::kTypeReference);
    for (std::size_t slot = 0; slot < um::kMaxMapPages; ++slot) {
        out.u32(slot < mapPages.size() ? mapPages[slot] : 0);
    }
    out.check();
    return row;
}

std::vector<std::uint8_t> encodeUsageMapPage(std::span<const std::uint32_t> pages,
                                             std::size_t slot) {
    std::vector<std::uint8_t> page = emptyUsageMapPage();
    const std::span<std::uint8_t> bitmap = std::span(page).subspan(layout::map_page::kBitmap);
    const std::size_t first = slot * layout::map_page::kPagesCovered;
    for (const std::uint32_t number : pages) {
        if (number >= first && number - first < layout::map_page::kPagesCovered) {
            setBit(bitmap, number - first);
        }
    }
    return page;
}

GlobalUsageMap encodeGlobalUsageMap(std::size_t pageCount) {
    const std::size_t bitmapSize =
        std::max<std::size_t>(um::kAccessBitmapSize, (pageCount + 7) / 8);
    if (um::kInlineBitmap + bitmapSize <= kGlobalMapMaxRow) {
        return {encodeInlineGlobalUsageMap(pageCount, bitmapSize), {}};
    }

    // Every map page is a page of the file too: n pages cover the file with them when
    // n * 32736 >= pageCount + n.
    constexpr std::size_t kCovered = layout::map_page::kPagesCovered;
    const std::size_t slots = (pageCount + kCovered - 2) / (kCovered - 1);
    if (slots > um::kMaxMapPages) {
        throw JetError(ErrorKind::Unsupported, "a database of " + std::to_string(pageCount) +
                                                   " pages is larger than a usage map covers (" +
                                                   std::to_string(um::kMaxMapPages * kCovered) +
                                                   " pages)");
    }
    const std::size_t total = pageCount + slots;
    GlobalUsageMap map;
    std::vector<std::uint32_t> numbers;
    for (std::size_t slot = 0; slot < slots; ++slot) {
        numbers.push_back(static_cast<std::uint32_t>(pageCount + slot));
        std::vector<std::uint8_t> mapPage = emptyUsageMapPage();
        const auto bitmap = std::span(mapPage).subspan(layout::map_page::kBitmap);
        // Only the last map page reaches beyond the end of the file.
        const std::size_t first = slot * kCovered;
        for (std::size_t page = std::max(total, first); page < first + kCovered; ++page) {
            setBit(bitmap, page - first);
        }
        map.mapPages.push_back(std::move(mapPage));
    }
    map.row = encodeReferenceUsageMap(numbers);
    return map;
}

}  // namespace norvessa::jet
