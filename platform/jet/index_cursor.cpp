#include "platform/jet/index_cursor.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/database_file.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {
namespace {

namespace ip = layout::index_page;

using ip::kBitmapBits;
using ip::kLeafPointerSize;
using ip::kNodePointerSize;
// Far more levels than any index of a 4 GiB file can have; more means a loop in the tree.
constexpr int kMaxLevels = 32;
// Node pages kept per cursor; a seek's path needs a handful.
constexpr std::size_t kMaxKeptNodes = 256;

}  // namespace

int compareIndexKeys(std::span<const std::uint8_t> left, std::span<const std::uint8_t> right) {
    const std::size_t common = std::min(left.size(), right.size());
    if (common > 0) {
        if (const int order = std::memcmp(left.data(), right.data(), common); order != 0) {
            return order;
        }
    }
    return left.size() < right.size() ? -1 : (left.size() > right.size() ? 1 : 0);
}

namespace {

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

// The first entry of `page` whose key is not less than `key`, or entries.size().
std::size_t lowerBound(const IndexPageEntries& page, std::span<const std::uint8_t> key) {
    std::size_t low = 0;
    std::size_t high = page.entries.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (compareIndexKeys(page.key(middle), key) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

}  // namespace

IndexPageEntries readIndexPage(std::span<const std::uint8_t> page, std::uint32_t pageNumber,
                               std::uint32_t tableDefinitionPage) {
    const Location where{"index page", pageNumber, std::nullopt};
    ByteCursor in(page, where);
    const std::uint8_t type = in.u8(layout::kPageType);
    const std::uint32_t owner = in.u32(ip::kOwner);
    IndexPageEntries result;
    result.nextPage = in.u32(ip::kNextPage);
    result.tailPage = in.u32(ip::kTailPage);
    const std::uint16_t prefixLength = in.u16(ip::kPrefixLength);
    const std::span<const std::uint8_t> bitmap = in.bytes(ip::kEntryBitmap);
    in.check();
    result.leaf = type == layout::page_type::kIndexLeaf;
    if (!result.leaf && type != layout::page_type::kIndexNode) {
        throwCorrupt(where, "expected page type 0x03 or 0x04, found " +
                                std::to_string(static_cast<int>(type)));
    }
    if (owner != tableDefinitionPage) {
        throwCorrupt(where, "belongs to table definition " + std::to_string(owner) +
                                ", not to the index's table (page " +
                                std::to_string(tableDefinitionPage) + ")");
    }
    const std::size_t pointerSize = result.leaf ? kLeafPointerSize : kNodePointerSize;
    // Every entry after the first starts with the first entry's first prefixLength bytes, which
    // may reach into its row pointer. Each entry is built whole at the end of `keys`, then its
    // pointer is read and cut off.
    KeyBytes prefix;
    result.keys.reserve(page.size());
    std::size_t start = ip::kEntries;
    const auto addEntry = [&](std::size_t end) {
        if (end > page.size() || end <= start) {
            throwCorrupt(where, "entry ending at " + hexOffset(end) + " lies outside the page");
        }
        const std::size_t keyOffset = result.keys.size();
        result.keys.insert(result.keys.end(), prefix.begin(), prefix.end());
        result.keys.insert(result.keys.end(), page.begin() + static_cast<std::ptrdiff_t>(start),
                           page.begin() + static_cast<std::ptrdiff_t>(end));
        const std::size_t wholeSize = result.keys.size() - keyOffset;
        const auto whole = std::span<const std::uint8_t>(result.keys).subspan(keyOffset);
        if (result.entries.empty()) {
            if (prefixLength > wholeSize) {
                throwCorrupt(where, "shared prefix longer than the first entry");
            }
            prefix.assign(whole.begin(), whole.begin() + prefixLength);
        }
        if (wholeSize < pointerSize) {
            throwCorrupt(where, "index entry at " + hexOffset(start) + " is too short");
        }
        const std::size_t keySize = wholeSize - pointerSize;
        const auto pointer = whole.subspan(keySize);
        IndexPageEntries::Entry entry;
        entry.keyOffset = keyOffset;
        entry.keySize = keySize;
        entry.dataPage = bigEndian(pointer.first(ip::kEntryPageSize));
        entry.dataRow = pointer[ip::kEntryPageSize];
        if (!result.leaf) {
            entry.childPage = bigEndian(pointer.subspan(kLeafPointerSize));
        }
        result.keys.resize(keyOffset + keySize);
        result.entries.push_back(entry);
        start = end;
    };
    // The bitmap marks where each entry ends; most of its bytes are zero.
    for (std::size_t byte = 0; byte < kBitmapBits / 8; ++byte) {
        for (unsigned bits = bitmap[byte]; bits != 0; bits &= bits - 1) {
            addEntry(ip::kEntries + byte * 8 + static_cast<std::size_t>(std::countr_zero(bits)));
        }
    }
    return result;
}

IndexCursor::IndexCursor(const DatabaseFile& file, std::uint32_t rootPage,
                         std::uint32_t tableDefinitionPage)
    : file_(file), rootPage_(rootPage), tableDefinitionPage_(tableDefinitionPage) {}

const IndexPageEntries& IndexCursor::node(std::uint32_t page) {
    if (const auto kept = nodes_.find(page); kept != nodes_.end()) {
        return kept->second;
    }
    if (nodes_.size() >= kMaxKeptNodes) {
        nodes_.clear();
    }
    return nodes_
        .emplace(page,
                 readIndexPage(file_.page(page, "index page").bytes(), page, tableDefinitionPage_))
        .first->second;
}

void IndexCursor::loadLeaf(std::uint32_t page) {
    leaf_ = readIndexPage(file_.page(page, "index page").bytes(), page, tableDefinitionPage_);
    if (!leaf_.leaf) {
        throwCorrupt(Location{"index page", page, std::nullopt},
                     "expected a leaf page (type 0x04), found a node page");
    }
    leafPage_ = page;
}

bool IndexCursor::seek(std::span<const std::uint8_t> key) {
    // A key within the leaf the cursor stands on needs no descent.
    if (leafPage_ != 0 && !leaf_.entries.empty() && compareIndexKeys(leaf_.key(0), key) < 0 &&
        compareIndexKeys(leaf_.key(leaf_.entries.size() - 1), key) >= 0) {
        position_ = lowerBound(leaf_, key);
        return true;
    }
    std::uint32_t page = rootPage_;
    for (int level = 0;; ++level) {
        if (level == kMaxLevels) {
            throwCorrupt(Location{"index page", rootPage_, std::nullopt},
                         "the index tree is deeper than " + std::to_string(kMaxLevels) +
                             " levels; its pages loop");
        }
        const auto bytes = file_.page(page, "index page");
        if (bytes[layout::kPageType.offset] == layout::page_type::kIndexLeaf) {
            break;
        }
        const IndexPageEntries& parent = node(page);
        const std::size_t child = lowerBound(parent, key);
        page = child < parent.entries.size() ? parent.entries[child].childPage : parent.tailPage;
        if (page == 0) {
            return false;
        }
    }
    loadLeaf(page);
    leavesWalked_ = 0;
    position_ = lowerBound(leaf_, key);
    if (position_ < leaf_.entries.size()) {
        return true;
    }
    return next();
}

bool IndexCursor::next() {
    if (position_ + 1 < leaf_.entries.size()) {
        ++position_;
        return true;
    }
    while (leaf_.nextPage != 0) {
        if (++leavesWalked_ > file_.pageCount()) {
            throwCorrupt(Location{"index page", leafPage_, std::nullopt},
                         "the chain of leaf pages loops");
        }
        loadLeaf(leaf_.nextPage);
        if (!leaf_.entries.empty()) {
            position_ = 0;
            return true;
        }
    }
    position_ = leaf_.entries.size();
    return false;
}

std::optional<KeyBytes> keyAfterPrefix(std::span<const std::uint8_t> prefix) {
    KeyBytes key(prefix.begin(), prefix.end());
    while (!key.empty() && key.back() == 0xFF) {
        key.pop_back();
    }
    if (key.empty()) {
        return std::nullopt;
    }
    ++key.back();
    return key;
}

}  // namespace norvessa::jet
