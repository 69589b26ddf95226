#include "platform/jet/long_value.h"

#include <unordered_set>

#include "platform/jet/data_page.h"
#include "platform/jet/database_file.h"

namespace norvessa::jet {
namespace {

namespace lv = layout::long_value;

struct RowAddress {
    std::uint32_t page;
    std::uint32_t row;
};

RowAddress split(std::uint32_t rowPointer) {
    return {rowPointer >> layout::kRowPointerPageShift, rowPointer & layout::kRowPointerRowMask};
}

// The page holding a long value row; its bytes live as long as the page. Long values live on
// pages of their own: a pointer that leads to a table's rows would read them as text.
DataPage longValuePage(const DatabaseFile& file, RowAddress address) {
    DataPage page(file.page(address.page, "long value page"), address.page);
    if (page.header().owner != layout::data_page::kOwnerLongValue) {
        throwCorrupt(Location{"long value page", address.page, std::nullopt},
                     "the file is damaged: a long value points here, but the page is not a "
                     "long-value page (its owner is " +
                         std::to_string(page.header().owner) + ")");
    }
    if (address.row >= page.rowCount()) {
        throwCorrupt(page.location(address.row), "long value row does not exist (" +
                                                     std::to_string(page.rowCount()) + " rows)");
    }
    return page;
}

}  // namespace

LongValueReference decodeLongValueReference(std::span<const std::uint8_t> field,
                                            const Location& where) {
    ByteCursor cursor(field, where);
    const std::uint32_t lengthAndKind = cursor.u32(lv::kLengthAndKind);
    LongValueReference reference;
    reference.length = lengthAndKind & lv::kLengthMask;
    reference.kind = static_cast<std::uint8_t>(lengthAndKind >> lv::kKindShift);
    reference.rowPointer = cursor.u32(lv::kRowPointer);
    cursor.u32(lv::kUnknown8);
    if (reference.kind == lv::kKindInline) {
        reference.inlineData = cursor.bytes(reference.length, "inline long value");
    } else if (reference.kind != lv::kKindSingleRow && reference.kind != lv::kKindChain) {
        cursor.check();
        char detail[64];
        std::snprintf(detail, sizeof detail, "unknown long value kind 0x%02X", reference.kind);
        throwCorrupt(where, detail);
    }
    cursor.check();
    return reference;
}

std::vector<std::uint8_t> readLongValue(const LongValueReference& reference,
                                        const DatabaseFile& file) {
    if (reference.kind == lv::kKindInline) {
        return {reference.inlineData.begin(), reference.inlineData.end()};
    }
    const RowAddress first = split(reference.rowPointer);
    const Location where{"long value page", first.page, first.row};
    if (reference.kind == lv::kKindSingleRow) {
        const DataPage page = longValuePage(file, first);
        const auto row = page.rowBytes(first.row);
        if (row.size() < reference.length) {
            throwCorrupt(where, "long value of " + std::to_string(reference.length) +
                                    " bytes, but its row holds " + std::to_string(row.size()));
        }
        return {row.begin(), row.begin() + static_cast<std::ptrdiff_t>(reference.length)};
    }
    std::vector<std::uint8_t> value;
    value.reserve(reference.length);
    std::unordered_set<std::uint32_t> visited;
    std::uint32_t pointer = reference.rowPointer;
    while (value.size() < reference.length) {
        if (pointer == 0) {
            throwCorrupt(where, "long value chain ends after " + std::to_string(value.size()) +
                                    " of " + std::to_string(reference.length) + " bytes");
        }
        if (!visited.insert(pointer).second) {
            throwCorrupt(where, "long value chain loops back to page " +
                                    std::to_string(split(pointer).page) + " row " +
                                    std::to_string(split(pointer).row));
        }
        const DataPage page = longValuePage(file, split(pointer));
        const auto row = page.rowBytes(split(pointer).row);
        ByteCursor cursor(row,
                          Location{"long value page", split(pointer).page, split(pointer).row});
        pointer = cursor.u32(lv::kNextRow);
        cursor.check();
        const auto data = row.subspan(lv::kChainData);
        const std::size_t wanted =
            std::min<std::size_t>(data.size(), reference.length - value.size());
        value.insert(value.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(wanted));
    }
    return value;
}

}  // namespace norvessa::jet
