#include "platform/jet/data_page_encode.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace dp = layout::data_page;

const char* valueTypeName(const Value& value) {
    static constexpr const char* kNames[] = {"Null",      "boolean",  "byte",   "integer",
                                             "long",      "currency", "single", "double",
                                             "date/time", "text",     "binary", "decimal"};
    static_assert(std::size(kNames) == std::variant_size_v<Value>);
    return kNames[value.index()];
}

template <class T>
const T& expect(const Value& value, const char* expected) {
    if (const T* typed = std::get_if<T>(&value)) {
        return *typed;
    }
    throw JetError(
        ErrorKind::InvalidArgument,
        std::string("a ") + expected + " column cannot hold a " + valueTypeName(value) + " value");
}

template <class T>
std::vector<std::uint8_t> littleEndian(T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::vector<std::uint8_t> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));  // the host is little-endian (byte_cursor.h)
    return bytes;
}

std::vector<std::uint8_t> encodeTextField(const ColumnDescriptor& column, const std::string& utf8) {
    if (!norvessa::text::isValidUtf8(utf8)) {
        throw JetError(ErrorKind::InvalidArgument, "text is not valid UTF-8");
    }
    const std::u16string text = utf8ToUtf16(utf8);
    const std::size_t maxCharacters = column.length / 2;
    if (text.size() > maxCharacters) {
        throw JetError(ErrorKind::InvalidArgument,
                       "text of " + std::to_string(text.size()) +
                           " characters is longer than the column's limit of " +
                           std::to_string(maxCharacters));
    }
    return encodeStoredText(
        text, (column.extendedFlags & layout::tdef::column::kExtendedFlagCompressedUnicode) != 0);
}

}  // namespace

std::vector<std::uint8_t> encodeStoredText(std::u16string_view text, bool compressedColumn) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x01 && c <= 0x7F; });
    std::vector<std::uint8_t> stored = encodeText(text, compressedColumn && ascii);
    // Plain UCS-2 that opens with FF FE (U+FEFF) would be read as compressed text. Written in
    // the compressed form's two-byte mode it reads back as it is, unless a character has a
    // zero low byte, which that mode would take for a mode switch.
    if (!text.empty() && text.front() == u'\uFEFF') {
        if (std::any_of(text.begin(), text.end(), [](char16_t c) { return (c & 0xFF) == 0; })) {
            throw JetError(ErrorKind::InvalidArgument,
                           "text that begins with U+FEFF and holds a character with a zero low "
                           "byte cannot be stored so that it reads back unchanged");
        }
        stored.assign(std::begin(kCompressedTextMarker), std::end(kCompressedTextMarker));
        stored.push_back(0);  // switch to two-byte characters
        const std::vector<std::uint8_t> plain = encodeUcs2(text);
        stored.insert(stored.end(), plain.begin(), plain.end());
    }
    return stored;
}

bool isLongValueColumn(const ColumnDescriptor& column) {
    return column.type == static_cast<std::uint8_t>(ColumnType::Memo) ||
           column.type == static_cast<std::uint8_t>(ColumnType::Ole);
}

FieldBytes encodeFieldValue(const ColumnDescriptor& column, const Value& value) {
    const auto type = static_cast<ColumnType>(column.type);
    if (type == ColumnType::Boolean) {
        return FieldBytes{!isNull(value) && expect<bool>(value, "boolean"), {}};
    }
    if (isNull(value)) {
        return FieldBytes{};
    }
    switch (type) {
        case ColumnType::Byte:
            return {true, littleEndian(expect<std::uint8_t>(value, "byte"))};
        case ColumnType::Integer:
            return {true, littleEndian(expect<std::int16_t>(value, "integer"))};
        case ColumnType::Long:
            return {true, littleEndian(expect<std::int32_t>(value, "long"))};
        case ColumnType::Currency:
            return {true, littleEndian(expect<Currency>(value, "currency").tenThousandths)};
        case ColumnType::Single:
            return {true, littleEndian(expect<float>(value, "single"))};
        case ColumnType::Double:
            return {true, littleEndian(expect<double>(value, "double"))};
        case ColumnType::DateTime:
            return {true, littleEndian(expect<DateTime>(value, "date/time").oleDays)};
        case ColumnType::Binary: {
            const Bytes& bytes = expect<Bytes>(value, "binary");
            if (bytes.size() > column.length) {
                throw JetError(ErrorKind::InvalidArgument,
                               "binary value of " + std::to_string(bytes.size()) +
                                   " bytes is longer than the column's limit of " +
                                   std::to_string(column.length));
            }
            return {true, bytes};
        }
        case ColumnType::Text:
            return {true, encodeTextField(column, expect<std::string>(value, "text"))};
        default:
            throw JetError(ErrorKind::Unsupported,
                           "the writer cannot store values of column type " +
                               std::to_string(column.type) + " in a row");
    }
}

std::vector<std::uint8_t> encodeRow(std::span<const ColumnDescriptor> columns,
                                    std::span<const FieldBytes> fields, std::uint16_t columnCount) {
    if (fields.size() != columns.size()) {
        throw JetError(ErrorKind::InvalidArgument, "a row needs one field per column");
    }
    std::size_t fixedSize = 0;
    std::size_t variableCount = 0;
    for (const ColumnDescriptor& column : columns) {
        if (column.type == static_cast<std::uint8_t>(ColumnType::Boolean)) {
            continue;  // the value is the null-mask bit; Access still records a length of 1
        }
        if (column.fixedLength()) {
            fixedSize = std::max(fixedSize, std::size_t{column.fixedOffset} + column.length);
        } else {
            ++variableCount;
        }
    }
    // The variable columns' data in var-index order; the indexes must be 0 .. count - 1.
    std::vector<const FieldBytes*> variableFields(variableCount, nullptr);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].fixedLength()) {
            continue;
        }
        const std::uint16_t varIndex = columns[i].varIndex;
        if (varIndex >= variableCount || variableFields[varIndex] != nullptr) {
            throw JetError(ErrorKind::InvalidArgument, "variable-column index " +
                                                           std::to_string(varIndex) +
                                                           " is out of range or used twice");
        }
        variableFields[varIndex] = &fields[i];
    }

    std::vector<std::uint8_t> row;
    ByteWriter out(row, Location{"new row", std::nullopt, std::nullopt});
    out.u16(columnCount);
    out.fill(fixedSize, 0);
    std::vector<std::uint8_t> nullMask((columnCount + 7U) / 8U, 0);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnDescriptor& column = columns[i];
        if (fields[i].present) {
            nullMask[column.number / 8U] = static_cast<std::uint8_t>(nullMask[column.number / 8U] |
                                                                     1U << (column.number % 8U));
        }
        if (column.fixedLength() && fields[i].present && !fields[i].bytes.empty()) {
            out.seek(layout::row::kFixedArea + column.fixedOffset);
            out.bytes(std::span(fields[i].bytes)
                          .first(std::min<std::size_t>(fields[i].bytes.size(), column.length)));
        }
    }

    out.seek(layout::row::kFixedArea + fixedSize);
    if (variableCount > 0) {
        std::vector<std::uint16_t> starts;
        for (const FieldBytes* field : variableFields) {
            starts.push_back(static_cast<std::uint16_t>(out.position()));
            out.bytes(field->bytes);
        }
        out.u16(static_cast<std::uint16_t>(out.position()));  // end of variable data
        for (std::size_t j = starts.size(); j-- > 0;) {
            out.u16(starts[j]);
        }
        out.u16(static_cast<std::uint16_t>(variableCount));
    }
    out.bytes(nullMask);
    out.check();
    if (row.size() > dp::kMaxRowSize) {
        throw JetError(ErrorKind::InvalidArgument,
                       "row of " + std::to_string(row.size()) + " bytes is longer than the " +
                           std::to_string(dp::kMaxRowSize) + " bytes a data page can hold");
    }
    return row;
}

std::size_t DataPageBuilder::freeSpace() const {
    return layout::kPageSize - dp::kSlotTable - dp::kSlotSize * rowStarts_.size() - rowBytes_;
}

bool DataPageBuilder::fits(std::size_t rowSize) const {
    return rowStarts_.size() < dp::kMaxRowsPerPage && rowSize + dp::kSlotSize <= freeSpace();
}

std::uint8_t DataPageBuilder::add(std::span<const std::uint8_t> row) {
    rowBytes_ += row.size();
    rowStarts_.push_back(static_cast<std::uint16_t>(layout::kPageSize - rowBytes_));
    rows_.emplace_back(row.begin(), row.end());
    return static_cast<std::uint8_t>(rowStarts_.size() - 1);
}

std::vector<std::uint8_t> DataPageBuilder::encode() const {
    std::vector<std::uint8_t> page(layout::kPageSize, 0);
    ByteWriter out(page, Location{"new data page", std::nullopt, std::nullopt}, layout::kPageSize);
    out.u8(layout::kPageType, layout::page_type::kData);
    out.u8(layout::kPageMarkerField, layout::kPageMarker);
    out.u16(dp::kFreeSpace, static_cast<std::uint16_t>(freeSpace()));
    out.u32(dp::kOwner, owner_);
    out.u16(dp::kRowCount, static_cast<std::uint16_t>(rowStarts_.size()));
    out.seek(dp::kSlotTable);
    for (const std::uint16_t start : rowStarts_) {
        out.u16(start);
    }
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        out.seek(rowStarts_[i]);
        out.bytes(rows_[i]);
    }
    out.check();
    return page;
}

PackedRows packRows(std::span<const std::vector<std::uint8_t>> rows, std::uint32_t owner) {
    PackedRows packed;
    DataPageBuilder page(owner);
    for (const std::vector<std::uint8_t>& row : rows) {
        if (!page.fits(row.size())) {
            packed.pages.push_back(page.encode());
            page = DataPageBuilder(owner);
        }
        packed.locations.emplace_back(packed.pages.size(), page.add(row));
    }
    if (!page.empty()) {
        packed.pages.push_back(page.encode());
    }
    return packed;
}

}  // namespace norvessa::jet
