#include "platform/jet/row_layout.h"

#include <algorithm>

namespace norvessa::jet {
namespace {

// Error reports, kept out of the row decoder's hot path.
[[noreturn, gnu::cold, gnu::noinline]] void failShort(const Location& where, std::size_t size,
                                                      std::string_view part, std::size_t partSize) {
    throwCorrupt(where, std::string(part) + " of " + std::to_string(partSize) +
                            " bytes does not fit a row of " + std::to_string(size) + " bytes");
}

}  // namespace

RowLayout::RowLayout(std::span<const std::uint8_t> row, const Location& where,
                     bool hasVariableColumns)
    : row_(row), where_(where) {
    if (row.size() < layout::row::kColumnCount.end()) {
        failShort(where, row.size(), "column count", layout::row::kColumnCount.size);
    }
    columnCount_ = offsetAt(layout::row::kColumnCount.offset);
    const std::size_t maskSize = (std::size_t{columnCount_} + 7) / 8;
    if (row.size() < layout::row::kFixedArea + maskSize) {
        failShort(where, row.size(), "null mask", maskSize);
    }
    nullMask_ = row.subspan(row.size() - maskSize, maskSize);
    dataEnd_ = row.size() - maskSize;
    fixedEnd_ = dataEnd_;
    if (!hasVariableColumns) {
        return;
    }
    if (dataEnd_ < layout::row::kFixedArea + kOffset) {
        failShort(where, row.size(), "variable column count", kOffset);
    }
    const std::size_t countAt = dataEnd_ - kOffset;
    variableCount_ = offsetAt(countAt);
    // off[V-1] ... off[0] and the EOD below the count.
    const std::size_t tableSize = (std::size_t{variableCount_} + 1) * kOffset;
    if (countAt < layout::row::kFixedArea + tableSize) {
        failShort(where, row.size(), "variable column table", tableSize);
    }
    offsetsTop_ = countAt;
    dataEnd_ = countAt - tableSize;
    // Variable data starts at the first column's offset, or at the end of data when the row
    // records none; an offset beyond the data area is reported where a column is read.
    fixedEnd_ = std::min<std::size_t>(
        offsetAt(variableCount_ > 0 ? offsetsTop_ - kOffset : dataEnd_), dataEnd_);
}

std::span<const std::uint8_t> RowLayout::fixed(std::uint16_t offset, std::uint16_t length) const {
    const std::size_t begin = layout::row::kFixedArea + offset;
    if (begin + length > fixedEnd_) {
        fail("fixed column at offset " + hexOffset(begin) + " (" + std::to_string(length) +
             " bytes) runs past the row's fixed area (ends at " + hexOffset(fixedEnd_) + ")");
    }
    return row_.subspan(begin, length);
}

void RowLayout::failVariable(std::uint16_t varIndex, std::size_t begin, std::size_t end) const {
    fail("variable column " + std::to_string(varIndex) + " spans " + hexOffset(begin) + ".." +
         hexOffset(end) + ", outside the variable data (ends at " + hexOffset(dataEnd_) + ")");
}

void RowLayout::failUnrecorded(std::uint16_t varIndex) const {
    fail("a column marked present has variable-column index " + std::to_string(varIndex) +
         ", but the row records " + std::to_string(variableCount_) + " variable columns");
}

void RowLayout::fail(std::string_view detail) const {
    throwCorrupt(where_, detail);
}

}  // namespace norvessa::jet
