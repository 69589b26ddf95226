#pragma once

// Index B-tree pages. Leaves (type 0x04) hold the entries, key then row location, in key order
// and are chained from first to last. When one page does not hold them all, node pages
// (type 0x03) sit above: one entry per child page, a copy of the last leaf entry below that
// child plus the child's page number, except for the node's last child, which the header's
// "tail" field names instead (as Access writes them). Levels repeat until one page remains,
// the root. Entries are stored whole (shared prefix length 0).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/jet/index_key.h"

namespace norvessa::jet {

using PageBytes = std::vector<std::uint8_t>;

// One leaf entry: the key of a row and where the row lives.
struct IndexEntry {
    KeyBytes key;
    std::uint32_t dataPage = 0;
    std::uint8_t dataRow = 0;

    friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
};

// The order of entries in an index: by key bytes, then by row location.
bool indexEntryPrecedes(const IndexEntry& left, const IndexEntry& right);

// The pages of one index, planned before they get page numbers: which entries each page holds
// does not depend on where the pages go.
class IndexTree {
  public:
    // `entries` must be in index order. Throws JetError(Unsupported) when an entry is too long
    // for an index page.
    explicit IndexTree(std::vector<IndexEntry> entries);

    std::size_t pageCount() const { return pageCount_; }

    // The pages numbered firstPage, firstPage + 1, ...; the root is firstPage, the levels
    // below follow in order, each level from its first page to its last.
    std::vector<PageBytes> encode(std::uint32_t firstPage, std::uint32_t tableDefinitionPage) const;

  private:
    // A page of one level, as a run of the level's items (leaf entries, or child pages).
    struct PagePlan {
        std::size_t first = 0;
        std::size_t count = 0;
    };

    std::vector<IndexEntry> entries_;
    std::vector<std::vector<PagePlan>> levels_;  // leaves first, root level last
    std::size_t pageCount_ = 0;
};

// What an index page holds, for tests and diagnostics.
struct DecodedIndexEntry {
    KeyBytes key;
    std::uint32_t dataPage = 0;
    std::uint8_t dataRow = 0;
    std::optional<std::uint32_t> childPage;  // node entries only
};

struct DecodedIndexPage {
    std::uint8_t pageType = 0;
    std::uint16_t freeSpace = 0;
    std::uint32_t tableDefinitionPage = 0;
    std::uint32_t previousPage = 0;
    std::uint32_t nextPage = 0;
    std::uint32_t tailPage = 0;
    std::uint16_t prefixLength = 0;
    std::vector<DecodedIndexEntry> entries;
};

// Throws JetError(Corrupt) naming the page when the page is not a well-formed index page.
DecodedIndexPage decodeIndexPage(std::span<const std::uint8_t> page, std::uint32_t pageNumber);

}  // namespace norvessa::jet
