#pragma once

// Data pages (type 0x01): header, slot table and the byte range of each row.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/database_file.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {

struct DataPageHeader {
    std::uint16_t freeSpace = 0;
    std::uint32_t owner = 0;  // tdef page, layout::data_page::kOwnerLongValue, ...
    std::uint16_t rowCount = 0;
};

enum class SlotState {
    Live,
    Deleted,          // both flag bits
    OverflowPointer,  // 0x4000 alone: the row holds the row pointer of the real row
    OverflowTarget,   // 0x8000 alone: a moved row, reached through its pointer
};

constexpr SlotState slotState(std::uint16_t rawSlot) {
    const bool pointer = (rawSlot & layout::data_page::kSlotOverflowPointer) != 0;
    const bool moved = (rawSlot & layout::data_page::kSlotMovedOrDeleted) != 0;
    if (pointer && moved) {
        return SlotState::Deleted;
    }
    if (pointer) {
        return SlotState::OverflowPointer;
    }
    return moved ? SlotState::OverflowTarget : SlotState::Live;
}

// A decoded view of one data page; it keeps the page's bytes alive, and the row bytes it hands
// out stay valid as long as it lives.
class DataPage {
  public:
    // Checks the page type and that the slot table fits. Throws JetError(Corrupt).
    DataPage(Page page, std::uint32_t pageNumber);
    // Bytes held elsewhere, which must outlive the page.
    DataPage(std::span<const std::uint8_t> page, std::uint32_t pageNumber)
        : DataPage(Page(page), pageNumber) {}

    const DataPageHeader& header() const { return header_; }
    std::uint32_t pageNumber() const { return pageNumber_; }
    std::uint16_t rowCount() const { return header_.rowCount; }

    std::uint16_t rawSlot(std::size_t row) const {
        if (row >= header_.rowCount) [[unlikely]] {
            failNoSuchRow(row);
        }
        const std::size_t at = layout::data_page::kSlotTable + row * layout::data_page::kSlotSize;
        return static_cast<std::uint16_t>(page_[at] | page_[at + 1] << 8);
    }
    SlotState state(std::size_t row) const { return slotState(rawSlot(row)); }

    // The bytes of row `row`; throws JetError(Corrupt) naming page, row and offset when its
    // start lies outside the row area or after its end.
    std::span<const std::uint8_t> rowBytes(std::size_t row) const {
        return rowBytes(
            row, rawSlot(row) & layout::data_page::kSlotOffsetMask,
            row == 0 ? page_.size() : rawSlot(row - 1) & layout::data_page::kSlotOffsetMask);
    }

    // The same when the caller has read the row's start and end from the slot table.
    std::span<const std::uint8_t> rowBytes(std::size_t row, std::size_t begin,
                                           std::size_t end) const {
        const std::size_t rowArea = layout::data_page::kSlotTable +
                                    std::size_t{header_.rowCount} * layout::data_page::kSlotSize;
        if (begin < rowArea || begin > end || end > page_.size()) [[unlikely]] {
            failRowBounds(row, begin, end, rowArea);
        }
        return page_.subspan(begin, end - begin);
    }

    Location location(std::size_t row) const {
        return Location{"data page", pageNumber_, static_cast<std::uint32_t>(row)};
    }

  private:
    [[noreturn, gnu::cold]] void failNoSuchRow(std::size_t row) const;
    [[noreturn, gnu::cold]] void failRowBounds(std::size_t row, std::size_t begin, std::size_t end,
                                               std::size_t rowArea) const;

    Page page_;
    std::uint32_t pageNumber_;
    DataPageHeader header_;
};

}  // namespace norvessa::jet
