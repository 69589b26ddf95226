#include "platform/jet/usage_map.h"

#include "platform/jet/data_page.h"
#include "platform/jet/database_file.h"

namespace norvessa::jet {
namespace {

namespace u = layout::usage_map;

void collectBits(std::span<const std::uint8_t> bitmap, std::uint64_t firstPage,
                 std::vector<std::uint32_t>& pages, const Location& where) {
    for (std::size_t byte = 0; byte < bitmap.size(); ++byte) {
        if (bitmap[byte] == 0) {
            continue;
        }
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((static_cast<unsigned>(bitmap[byte]) >> bit & 1U) == 0) {
                continue;
            }
            const std::uint64_t page = firstPage + byte * 8 + bit;
            if (page > UINT32_MAX) {
                throwCorrupt(where, "usage map lists page " + std::to_string(page) +
                                        ", beyond any possible page number");
            }
            pages.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

}  // namespace

std::vector<std::uint32_t> decodeUsageMap(std::span<const std::uint8_t> row,
                                          const DatabaseFile& file, const Location& where) {
    ByteCursor cursor(row, where);
    const std::uint8_t type = cursor.u8(u::kMapType);
    std::vector<std::uint32_t> pages;
    if (type == u::kTypeInline) {
        const std::uint32_t start = cursor.u32(u::kStartPage);
        cursor.check();
        collectBits(row.subspan(u::kInlineBitmap), start, pages, where);
        return pages;
    }
    if (type != u::kTypeReference) {
        cursor.check();
        throwCorrupt(where, "unknown usage map type " + std::to_string(type));
    }
    const std::size_t mapPages = (row.size() - u::kMapPageList) / u::kMapPageNumberSize;
    cursor.seek(u::kMapPageList);
    for (std::size_t k = 0; k < mapPages; ++k) {
        const std::uint32_t mapPage = cursor.u32("map page");
        if (mapPage == 0) {
            continue;
        }
        auto bytes = file.typedPage(mapPage, layout::page_type::kUsageMap, "usage map page");
        collectBits(bytes.subspan(layout::map_page::kBitmap), k * layout::map_page::kPagesCovered,
                    pages, where);
    }
    cursor.check();
    return pages;
}

std::vector<std::uint32_t> readUsageMap(const DatabaseFile& file, std::uint32_t rowPointer,
                                        std::string_view owner) {
    const std::uint32_t page = rowPointer >> layout::kRowPointerPageShift;
    const std::uint32_t row = rowPointer & layout::kRowPointerRowMask;
    const DataPage mapPage(file.page(page, "usage map page"), page);
    if (row >= mapPage.rowCount()) {
        throwCorrupt(Location{owner, std::nullopt, std::nullopt},
                     "usage map at data page " + std::to_string(page) + " row " +
                         std::to_string(row) + " does not exist (" +
                         std::to_string(mapPage.rowCount()) + " rows)");
    }
    return decodeUsageMap(mapPage.rowBytes(row), file, mapPage.location(row));
}

}  // namespace norvessa::jet
