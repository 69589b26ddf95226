#pragma once

// Encoders for data pages (type 0x01): a cell value as the bytes a row stores, a whole row
// (column count, fixed area, variable data and offsets, null mask; see layout.h "ROW"), and
// the page that packs rows downwards from its end. The decoders are in data_page.h and
// row_layout.h.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/jet/table_definition_page.h"
#include "platform/jet/value.h"

namespace norvessa::jet {

// One cell as stored: `present` is the null-mask bit (for booleans, the value itself); `bytes`
// the fixed or variable data.
struct FieldBytes {
    bool present = false;
    std::vector<std::uint8_t> bytes;
};

// Text as a row or a memo stores it. In a column with Unicode compression, text made only of
// ASCII characters is stored compressed (FF FE, then one byte per character) when that is
// shorter; all other text is stored as plain UCS-2. The format would also allow mixed runs and
// one-byte Latin-1 characters, but accessdb-parser, one of the independent readers we check
// against, decodes the compressed form's bytes as UTF-8 and would misread them. Throws
// JetError(InvalidArgument) for text that cannot be stored so that it reads back unchanged.
std::vector<std::uint8_t> encodeStoredText(std::u16string_view text, bool compressedColumn);

// Whether the column's values live on long-value pages (memo, OLE) rather than in the row.
bool isLongValueColumn(const ColumnDescriptor& column);

// The stored form of `value` for a column kept in the row (not memo or OLE). Text is UTF-8 and
// is stored compressed when the column asks for it and that is shorter. Throws
// JetError(InvalidArgument) when the value's type does not match the column, text is not valid
// UTF-8 or a value is longer than the column allows, and JetError(Unsupported) for column
// types the writer cannot store.
FieldBytes encodeFieldValue(const ColumnDescriptor& column, const Value& value);

// Encodes one row: `fields[i]` belongs to `columns[i]`; `columnCount` is the table's maximum
// column count (the null mask's width). Throws JetError(InvalidArgument) when the row is
// longer than a data page allows.
std::vector<std::uint8_t> encodeRow(std::span<const ColumnDescriptor> columns,
                                    std::span<const FieldBytes> fields, std::uint16_t columnCount);

// Collects rows for one data page.
class DataPageBuilder {
  public:
    // `owner`: the tdef page of the owning table, or layout::data_page::kOwner* for long-value,
    // usage-map and global-map pages.
    explicit DataPageBuilder(std::uint32_t owner) : owner_(owner) {}

    bool empty() const { return rowStarts_.empty(); }
    std::size_t rowCount() const { return rowStarts_.size(); }
    // Bytes still free for rows and their slots.
    std::size_t freeSpace() const;
    bool fits(std::size_t rowSize) const;

    // Adds a row (which must fit) and returns its slot number.
    std::uint8_t add(std::span<const std::uint8_t> row);

    // The finished 4096-byte page.
    std::vector<std::uint8_t> encode() const;

  private:
    std::uint32_t owner_;
    std::vector<std::vector<std::uint8_t>> rows_;
    std::vector<std::uint16_t> rowStarts_;
    std::size_t rowBytes_ = 0;
};

// Rows of one kind packed into as few pages as they need, in order.
struct PackedRows {
    std::vector<std::vector<std::uint8_t>> pages;
    // Per row: index into `pages`, then slot.
    std::vector<std::pair<std::size_t, std::uint8_t>> locations;
};
PackedRows packRows(std::span<const std::vector<std::uint8_t>> rows, std::uint32_t owner);

}  // namespace norvessa::jet
