#include "platform/jet/index_pages.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {
namespace {

namespace ip = layout::index_page;

using ip::kBitmapBits;
using ip::kLeafPointerSize;
using ip::kNodePointerSize;

std::size_t leafEntrySize(const IndexEntry& entry) {
    return entry.key.size() + kLeafPointerSize;
}
std::size_t nodeEntrySize(const IndexEntry& entry) {
    return entry.key.size() + kNodePointerSize;
}

void writeEntry(ByteWriter& out, const IndexEntry& entry) {
    out.bytes(entry.key);
    out.be24(entry.dataPage);
    out.u8(entry.dataRow);
}

}  // namespace

bool indexEntryPrecedes(const IndexEntry& left, const IndexEntry& right) {
    if (left.key != right.key) {
        return std::lexicographical_compare(left.key.begin(), left.key.end(), right.key.begin(),
                                            right.key.end());
    }
    return std::pair{left.dataPage, left.dataRow} < std::pair{right.dataPage, right.dataRow};
}

IndexTree::IndexTree(std::vector<IndexEntry> entries) : entries_(std::move(entries)) {
    for (const IndexEntry& entry : entries_) {
        // A node page must hold at least two entries for the tree to narrow level by level.
        if (2 * nodeEntrySize(entry) > ip::kEntryAreaSize) {
            throw JetError(ErrorKind::Unsupported, "index key of " +
                                                       std::to_string(entry.key.size()) +
                                                       " bytes is too long for an index page");
        }
    }

    // Leaves: as many entries per page as fit.
    std::vector<PagePlan> leaves;
    PagePlan leaf;
    std::size_t used = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::size_t size = leafEntrySize(entries_[i]);
        if (used + size > ip::kEntryAreaSize) {
            leaves.push_back(leaf);
            leaf = PagePlan{i, 0};
            used = 0;
        }
        ++leaf.count;
        used += size;
    }
    leaves.push_back(leaf);  // an empty index is one empty leaf
    levels_.push_back(std::move(leaves));

    // The last leaf entry below each page of the current level: what a node entry copies.
    std::vector<std::size_t> lastEntry;
    for (const PagePlan& page : levels_.front()) {
        lastEntry.push_back(page.first + page.count - 1);
    }

    while (levels_.back().size() > 1) {
        const std::size_t children = levels_.back().size();
        std::vector<PagePlan> nodes;
        std::vector<std::size_t> nodeLastEntry;
        std::size_t child = 0;
        while (child < children) {
            const std::size_t first = child;
            std::size_t bytes = 0;
            // Entries for the children while they fit; the child after them is the tail.
            while (child + 1 < children &&
                   bytes + nodeEntrySize(entries_[lastEntry[child]]) <= ip::kEntryAreaSize) {
                bytes += nodeEntrySize(entries_[lastEntry[child]]);
                ++child;
            }
            // Never leave a single child for a last node without entries.
            if (children - child == 2 && child - first >= 2) {
                --child;
            }
            nodes.push_back(PagePlan{first, child - first + 1});
            nodeLastEntry.push_back(lastEntry[child]);
            ++child;
        }
        levels_.push_back(std::move(nodes));
        lastEntry = std::move(nodeLastEntry);
    }

    for (const auto& level : levels_) {
        pageCount_ += level.size();
    }
}

std::vector<PageBytes> IndexTree::encode(std::uint32_t firstPage,
                                         std::uint32_t tableDefinitionPage) const {
    // Page numbers, root level first.
    std::vector<std::vector<std::uint32_t>> numbers(levels_.size());
    std::uint32_t next = firstPage;
    for (std::size_t level = levels_.size(); level-- > 0;) {
        for (std::size_t k = 0; k < levels_[level].size(); ++k) {
            numbers[level].push_back(next++);
        }
    }

    // The last leaf entry below each page, level by level.
    std::vector<std::vector<std::size_t>> lastEntry(levels_.size());
    for (std::size_t level = 0; level < levels_.size(); ++level) {
        for (const PagePlan& page : levels_[level]) {
            const std::size_t last = page.first + page.count - 1;
            lastEntry[level].push_back(level == 0 ? last : lastEntry[level - 1][last]);
        }
    }

    std::vector<PageBytes> pages;
    pages.reserve(pageCount_);
    for (std::size_t level = levels_.size(); level-- > 0;) {
        const bool leaf = level == 0;
        const auto& plans = levels_[level];
        for (std::size_t k = 0; k < plans.size(); ++k) {
            const PagePlan& plan = plans[k];
            PageBytes page(layout::kPageSize, 0);
            ByteWriter out(page, Location{"index page", numbers[level][k], std::nullopt},
                           layout::kPageSize);

            // Entries first, recording where each ends for the bitmap.
            std::array<std::uint8_t, ip::kEntryBitmap.size> bitmap{};
            out.seek(ip::kEntries);
            const std::size_t entryCount = leaf ? plan.count : plan.count - 1;
            for (std::size_t i = 0; i < entryCount; ++i) {
                if (leaf) {
                    writeEntry(out, entries_[plan.first + i]);
                } else {
                    writeEntry(out, entries_[lastEntry[level - 1][plan.first + i]]);
                    out.be32(numbers[level - 1][plan.first + i]);
                }
                const std::size_t bit = out.position() - ip::kEntries;
                if (bit < kBitmapBits) {
                    bitmap[bit / 8] =
                        static_cast<std::uint8_t>(bitmap[bit / 8] | (1U << (bit % 8)));
                }
            }
            const auto freeSpace = static_cast<std::uint16_t>(layout::kPageSize - out.position());

            out.u8(layout::kPageType,
                   leaf ? layout::page_type::kIndexLeaf : layout::page_type::kIndexNode);
            out.u8(layout::kPageMarkerField, layout::kPageMarker);
            out.u16(ip::kFreeSpace, freeSpace);
            out.u32(ip::kOwner, tableDefinitionPage);
            out.u32(ip::kPreviousPage, k > 0 ? numbers[level][k - 1] : 0);
            out.u32(ip::kNextPage, k + 1 < plans.size() ? numbers[level][k + 1] : 0);
            out.u32(ip::kTailPage, leaf ? 0 : numbers[level - 1][plan.first + plan.count - 1]);
            out.u16(ip::kPrefixLength, 0);
            out.u8(ip::kUnknown26, leaf ? 0 : ip::kNodeMarkerAccess);
            out.bytes(ip::kEntryBitmap, bitmap);
            out.check();
            pages.push_back(std::move(page));
        }
    }
    return pages;
}

DecodedIndexPage decodeIndexPage(std::span<const std::uint8_t> page, std::uint32_t pageNumber) {
    const Location where{"index page", pageNumber, std::nullopt};
    ByteCursor in(page, where);
    DecodedIndexPage result;
    result.pageType = in.u8(layout::kPageType);
    result.freeSpace = in.u16(ip::kFreeSpace);
    result.tableDefinitionPage = in.u32(ip::kOwner);
    result.previousPage = in.u32(ip::kPreviousPage);
    result.nextPage = in.u32(ip::kNextPage);
    result.tailPage = in.u32(ip::kTailPage);
    result.prefixLength = in.u16(ip::kPrefixLength);
    const std::span<const std::uint8_t> bitmap = in.bytes(ip::kEntryBitmap);
    in.check();
    if (page.size() != layout::kPageSize) {
        throwCorrupt(where, "page is " + std::to_string(page.size()) + " bytes");
    }
    const bool leaf = result.pageType == layout::page_type::kIndexLeaf;
    if (!leaf && result.pageType != layout::page_type::kIndexNode) {
        throwCorrupt(where, "expected page type 0x03 or 0x04, found " +
                                std::to_string(static_cast<int>(result.pageType)));
    }

    KeyBytes prefix;
    std::size_t start = ip::kEntries;
    for (std::size_t bit = 0; bit < kBitmapBits; ++bit) {
        if ((bitmap[bit / 8] & (1U << (bit % 8))) == 0) {
            continue;
        }
        const std::size_t end = ip::kEntries + bit;
        if (end > layout::kPageSize || end <= start) {
            throwCorrupt(where, "entry ending at " + hexOffset(end) + " lies outside the page");
        }
        in.seek(start);
        KeyBytes bytes(prefix);
        const auto stored = in.bytes(end - start, "index entry");
        bytes.insert(bytes.end(), stored.begin(), stored.end());
        if (result.entries.empty()) {
            if (result.prefixLength > bytes.size()) {
                throwCorrupt(where, "shared prefix longer than the first entry");
            }
            prefix.assign(bytes.begin(), bytes.begin() + result.prefixLength);
        }
        const std::size_t pointerSize = leaf ? kLeafPointerSize : kNodePointerSize;
        if (bytes.size() < pointerSize) {
            throwCorrupt(where, "index entry at " + hexOffset(start) + " is too short");
        }
        ByteCursor pointer(std::span<const std::uint8_t>(bytes).subspan(bytes.size() - pointerSize),
                           where);
        DecodedIndexEntry entry;
        entry.key.assign(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(pointerSize));
        entry.dataPage = pointer.be24("entry data page");
        entry.dataRow = pointer.u8("entry data row");
        if (!leaf) {
            entry.childPage = pointer.be32("entry child page");
        }
        pointer.check();
        result.entries.push_back(std::move(entry));
        start = end;
    }
    in.check();
    return result;
}

}  // namespace norvessa::jet
