#include "platform/jet/data_page.h"

namespace norvessa::jet {
namespace {

namespace d = layout::data_page;

std::string rowText(std::size_t row) {
    return "row " + std::to_string(row);
}

}  // namespace

DataPage::DataPage(Page page, std::uint32_t pageNumber)
    : page_(std::move(page)), pageNumber_(pageNumber) {
    const Location where{"data page", pageNumber, std::nullopt};
    ByteCursor cursor(page_.bytes(), where);
    const std::uint8_t type = cursor.u8(layout::kPageType);
    header_.freeSpace = cursor.u16(d::kFreeSpace);
    header_.owner = cursor.u32(d::kOwner);
    header_.rowCount = cursor.u16(d::kRowCount);
    cursor.check();
    if (type != layout::page_type::kData) {
        char detail[64];
        std::snprintf(detail, sizeof detail, "expected page type 0x01, found 0x%02X", type);
        throwCorrupt(where, detail);
    }
    if (d::kSlotTable + std::size_t{header_.rowCount} * d::kSlotSize > page_.size()) {
        throwCorrupt(where, "row count " + std::to_string(header_.rowCount) +
                                " does not fit the page's slot table");
    }
}

void DataPage::failNoSuchRow(std::size_t row) const {
    throwCorrupt(Location{"data page", pageNumber_, std::nullopt},
                 rowText(row) + " does not exist (" + std::to_string(header_.rowCount) + " rows)");
}

void DataPage::failRowBounds(std::size_t row, std::size_t begin, std::size_t end,
                             std::size_t rowArea) const {
    const Location where{"data page", pageNumber_, std::nullopt};
    if (begin >= page_.size()) {
        throwCorrupt(where, rowText(row) + " offset " + hexOffset(begin) + " beyond page end");
    }
    if (begin < rowArea) {
        throwCorrupt(where, rowText(row) + " offset " + hexOffset(begin) +
                                " inside the slot table (ends at " + hexOffset(rowArea) + ")");
    }
    throwCorrupt(where, rowText(row) + " offset " + hexOffset(begin) + " beyond the row's end " +
                            hexOffset(end));
}

}  // namespace norvessa::jet
