#pragma once

// What a database holds besides its rows: the header settings and table definitions.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvessa::jet {

enum class ColumnType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10,
};

// Bytes every value of the type takes, or 0 for types of any length (and booleans, which
// live in the null mask).
constexpr std::size_t fixedValueSize(ColumnType type) {
    switch (type) {
        case ColumnType::Byte:
            return 1;
        case ColumnType::Integer:
            return 2;
        case ColumnType::Long:
        case ColumnType::Single:
            return 4;
        case ColumnType::Currency:
        case ColumnType::Double:
        case ColumnType::DateTime:
            return 8;
        case ColumnType::Guid:
            return 16;
        case ColumnType::Numeric:
            return 17;
        default:
            return 0;
    }
}

struct Column {
    std::string name;
    ColumnType type = ColumnType::Text;
    std::uint16_t number = 0;       // null-mask bit and index reference
    std::uint16_t varIndex = 0;     // position in the row's variable offset table
    std::uint16_t fixedOffset = 0;  // position in the row's fixed area
    std::uint16_t length = 0;       // bytes; text: two per character
    std::uint16_t sortOrder = 0;    // collating order of text columns, e.g. 2052
    bool fixedLength = false;
    bool autoNumber = false;
    bool compressedUnicode = false;
};

struct IndexColumn {
    std::uint16_t columnNumber = 0;
    bool ascending = true;
};

struct Index {
    std::string name;
    std::vector<IndexColumn> columns;
    bool unique = false;
    bool primaryKey = false;
};

struct TableDefinition {
    std::string name;
    std::uint32_t definitionPage = 0;
    std::uint32_t rowCount = 0;       // as recorded in the definition
    std::int32_t autoNumberLast = 0;  // last auto-number handed out
    std::vector<Column> columns;      // table order (by column number)
    std::vector<Index> indexes;       // logical indexes
};

struct DatabaseHeader {
    int jetVersion = 0;                   // 1 = Jet 4.0
    std::uint16_t codePage = 0;           // e.g. 936
    std::uint16_t sortOrder = 0;          // e.g. 2052
    double creationDate = 0.0;            // OLE automation date
    std::optional<std::string> password;  // none when the file has no password
};

}  // namespace norvessa::jet
