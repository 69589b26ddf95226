#include "platform/jet/stored_row.h"

#include <cstdio>
#include <cstring>

#include "platform/jet/long_value.h"
#include "platform/jet/stored_table.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

template <class T>
T read(std::span<const std::uint8_t> bytes) {
    T value{};
    std::memcpy(&value, bytes.data(), sizeof(T));
    return value;
}

std::string guidText(std::span<const std::uint8_t> bytes) {
    // The first three groups are little-endian numbers, the last two plain bytes.
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  read<std::uint32_t>(bytes), read<std::uint16_t>(bytes.subspan(4)),
                  read<std::uint16_t>(bytes.subspan(6)), bytes[8], bytes[9], bytes[10], bytes[11],
                  bytes[12], bytes[13], bytes[14], bytes[15]);
    return buffer;
}

Decimal decimalValue(std::span<const std::uint8_t> bytes, std::uint8_t scale) {
    // A sign byte, then four little-endian words, the most significant first.
    Decimal decimal;
    decimal.negative = bytes[0] != 0;
    for (std::size_t word = 0; word < decimal.magnitude.size(); ++word) {
        decimal.magnitude[word] = read<std::uint32_t>(bytes.subspan(1 + 4 * word));
    }
    decimal.scale = scale;
    return decimal;
}

}  // namespace

const Column& StoredRow::column(std::size_t position) const {
    const auto& columns = table_.definition.columns;
    if (position >= columns.size()) [[unlikely]] {
        failNoSuchColumn(position);
    }
    return columns[position];
}

void StoredRow::failNoSuchColumn(std::size_t position) const {
    throw JetError(ErrorKind::InvalidArgument,
                   "column position " + std::to_string(position) + " of table \"" +
                       table_.definition.name + "\", which has " +
                       std::to_string(table_.definition.columns.size()) + " columns");
}

std::span<const std::uint8_t> StoredRow::storedBytes(const Column& column) const {
    return column.fixedLength ? row_.fixed(column.fixedOffset, column.length)
                              : row_.variable(column.varIndex);
}

Value StoredRow::value(std::size_t position) const {
    const Column& column = this->column(position);
    if (column.type == ColumnType::Boolean) {
        return row_.present(column.number);
    }
    if (!row_.present(column.number)) {
        return std::monostate{};
    }
    const auto bytes = storedBytes(column);
    const std::size_t needed = fixedValueSize(column.type);
    if (needed > bytes.size()) {
        throwCorrupt(row_.where(), "column \"" + column.name + "\" holds " +
                                       std::to_string(bytes.size()) + " bytes, its type needs " +
                                       std::to_string(needed));
    }
    switch (column.type) {
        case ColumnType::Byte:
            return bytes[0];
        case ColumnType::Integer:
            return read<std::int16_t>(bytes);
        case ColumnType::Long:
            return read<std::int32_t>(bytes);
        case ColumnType::Currency:
            return Currency{read<std::int64_t>(bytes)};
        case ColumnType::Single:
            return read<float>(bytes);
        case ColumnType::Double:
            return read<double>(bytes);
        case ColumnType::DateTime:
            return DateTime{read<double>(bytes)};
        case ColumnType::Guid:
            return guidText(bytes);
        case ColumnType::Numeric:
            return decimalValue(bytes, table_.numericScale[position]);
        case ColumnType::Text:
            return decodeTextAsUtf8(bytes);
        case ColumnType::Memo:
        case ColumnType::Ole: {
            const auto reference = decodeLongValueReference(bytes, row_.where());
            auto data = readLongValue(reference, file_);
            if (column.type == ColumnType::Memo) {
                return utf16ToUtf8(decodeText(data));
            }
            return data;
        }
        default:
            return Bytes(bytes.begin(), bytes.end());
    }
}

bool StoredRow::textStartsWith(std::size_t position, const TextKey& prefix) const {
    const Column& column = this->column(position);
    if (column.type == ColumnType::Text) {
        return row_.present(column.number) &&
               storedTextStartsWith(storedBytes(column), prefix.folded());
    }
    if (column.type == ColumnType::Memo) {
        const Value stored = value(position);
        const auto* text = std::get_if<std::string>(&stored);
        return text != nullptr && TextKey(*text).folded().starts_with(prefix.folded());
    }
    return false;
}

bool StoredRow::textContains(std::size_t position, const TextKey& key) const {
    const Column& column = this->column(position);
    if (column.type == ColumnType::Text) {
        return row_.present(column.number) && storedTextContains(storedBytes(column), key.folded());
    }
    if (column.type == ColumnType::Memo) {
        const Value stored = value(position);
        const auto* text = std::get_if<std::string>(&stored);
        return text != nullptr &&
               TextKey(*text).folded().find(key.folded()) != std::u16string::npos;
    }
    return false;
}

bool StoredRow::textEquals(std::size_t position, const TextKey& key) const {
    const Column& column = this->column(position);
    if (column.type == ColumnType::Text) {
        return row_.present(column.number) && storedTextEquals(storedBytes(column), key.folded());
    }
    if (column.type == ColumnType::Memo) {
        const Value stored = value(position);
        const auto* text = std::get_if<std::string>(&stored);
        return text != nullptr && textEqualsIgnoringCase(utf8ToUtf16(*text), key.folded());
    }
    return false;
}

}  // namespace norvessa::jet
