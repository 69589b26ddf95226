#pragma once

// Reading an index B-tree: find the first leaf entry whose key is at or after a given key, then
// walk the leaves in key order. Pages are decoded as the walk reaches them; the node pages of
// the path from the root are kept, so that seeks close to each other descend cheaply.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/jet/index_key.h"

namespace norvessa::jet {

class DatabaseFile;

// One index page, decoded into one buffer of whole keys (the shared prefix restored).
struct IndexPageEntries {
    struct Entry {
        std::size_t keyOffset = 0;  // into keys
        std::size_t keySize = 0;
        std::uint32_t dataPage = 0;
        std::uint8_t dataRow = 0;
        std::uint32_t childPage = 0;  // node entries only
    };
    bool leaf = false;
    std::uint32_t nextPage = 0;
    std::uint32_t tailPage = 0;
    std::vector<std::uint8_t> keys;
    std::vector<Entry> entries;

    std::span<const std::uint8_t> key(std::size_t entry) const {
        return std::span(keys).subspan(entries[entry].keyOffset, entries[entry].keySize);
    }
};

// Throws JetError(Corrupt) naming the page when it is not an index page of the table.
IndexPageEntries readIndexPage(std::span<const std::uint8_t> page, std::uint32_t pageNumber,
                               std::uint32_t tableDefinitionPage);

class IndexCursor {
  public:
    IndexCursor(const DatabaseFile& file, std::uint32_t rootPage,
                std::uint32_t tableDefinitionPage);

    // Stands on the first entry whose key is not less than `key` (unsigned byte order);
    // false when every key is less. Throws JetError(Corrupt) for a malformed tree.
    bool seek(std::span<const std::uint8_t> key);
    // The entry after the current one, along the leaf chain; false at the end.
    bool next();

    std::span<const std::uint8_t> key() const { return leaf_.key(position_); }
    std::uint32_t dataPage() const { return leaf_.entries[position_].dataPage; }
    std::uint8_t dataRow() const { return leaf_.entries[position_].dataRow; }

  private:
    const IndexPageEntries& node(std::uint32_t page);
    void loadLeaf(std::uint32_t page);

    const DatabaseFile& file_;
    std::uint32_t rootPage_;
    std::uint32_t tableDefinitionPage_;
    std::unordered_map<std::uint32_t, IndexPageEntries> nodes_;
    IndexPageEntries leaf_;
    std::uint32_t leafPage_ = 0;
    std::size_t position_ = 0;
    std::size_t leavesWalked_ = 0;
};

// Unsigned byte order of keys: negative, zero or positive.
int compareIndexKeys(std::span<const std::uint8_t> left, std::span<const std::uint8_t> right);

// The smallest key that is greater than every key starting with `prefix`, or none when no key
// is (the prefix is all 0xFF bytes).
std::optional<KeyBytes> keyAfterPrefix(std::span<const std::uint8_t> prefix);

}  // namespace norvessa::jet
