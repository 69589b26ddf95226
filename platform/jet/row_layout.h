#pragma once

// Cracks a Jet 4 row into its parts without copying: column count, fixed area, the variable
// columns' offsets and the null mask. See layout.h ("ROW") for the byte layout.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/jet/byte_cursor.h"

namespace norvessa::jet {

class RowLayout {
  public:
    // Checks that the trailer (null mask, var count, var offsets, EOD) fits the row. Rows of a
    // table without variable-length columns have no var count and offsets. Throws
    // JetError(Corrupt) naming `where`.
    RowLayout(std::span<const std::uint8_t> row, const Location& where, bool hasVariableColumns);

    const Location& where() const { return where_; }
    std::uint16_t columnCount() const { return columnCount_; }
    std::uint16_t variableCount() const { return variableCount_; }

    // Bit `columnNumber` of the null mask: true = a value is present (for booleans, true).
    // Columns the row does not record are null.
    bool present(std::uint16_t columnNumber) const {
        if (columnNumber >= columnCount_) {
            return false;
        }
        return (static_cast<unsigned>(nullMask_[columnNumber / 8U]) >> (columnNumber % 8U) & 1U) !=
               0;
    }

    // `length` bytes at fixed offset `offset`; throws when they lie outside the row's fixed
    // area, which ends where its variable data begins.
    std::span<const std::uint8_t> fixed(std::uint16_t offset, std::uint16_t length) const;

    // The bytes of the variable column with var index `varIndex`, for a column the null mask
    // marks present. Throws when the row records fewer variable columns (a column added later
    // has a number beyond the row's count and is never present), or when the offsets are out
    // of order or outside the data area.
    std::span<const std::uint8_t> variable(std::uint16_t varIndex) const {
        if (varIndex >= variableCount_) [[unlikely]] {
            failUnrecorded(varIndex);
        }
        const std::size_t begin = offsetAt(offsetsTop_ - kOffset * (std::size_t{varIndex} + 1));
        // The last column ends at the end-of-data offset, stored where the data area ends.
        const std::size_t end = offsetAt(varIndex + 1 < variableCount_
                                             ? offsetsTop_ - kOffset * (std::size_t{varIndex} + 2)
                                             : dataEnd_);
        if (begin > end || end > dataEnd_ || begin < layout::row::kFixedArea) [[unlikely]] {
            failVariable(varIndex, begin, end);
        }
        return row_.subspan(begin, end - begin);
    }

  private:
    static constexpr std::size_t kOffset = layout::row::kOffsetSize;

    std::uint16_t offsetAt(std::size_t position) const {
        return static_cast<std::uint16_t>(row_[position] | row_[position + 1] << 8);
    }
    [[noreturn, gnu::cold]] void failVariable(std::uint16_t varIndex, std::size_t begin,
                                              std::size_t end) const;
    [[noreturn, gnu::cold]] void failUnrecorded(std::uint16_t varIndex) const;
    [[noreturn]] void fail(std::string_view detail) const;

    std::span<const std::uint8_t> row_;
    Location where_;
    std::uint16_t columnCount_ = 0;
    std::uint16_t variableCount_ = 0;
    std::span<const std::uint8_t> nullMask_;
    std::size_t dataEnd_ = 0;     // end of fixed and variable data (start of the trailer)
    std::size_t fixedEnd_ = 0;    // end of the fixed area: where variable data begins
    std::size_t offsetsTop_ = 0;  // position of the var count; off[j] lies 2 (j + 1) below
};

}  // namespace norvessa::jet
