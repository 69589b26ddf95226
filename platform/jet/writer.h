#pragma once

// Creates a new Jet 4.0 (Access 2000) database file from a schema and rows held in memory.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/schema.h"
#include "platform/jet/value.h"

namespace norvessa::jet {

struct NewColumn {
    std::string name;
    ColumnType type = ColumnType::Text;
    std::uint16_t maxCharacters = 50;  // text only; stored as twice as many bytes
    std::uint16_t maxBytes = 255;      // binary only
    bool autoNumber = false;           // long only
    bool compressedUnicode = true;     // text and memo only; applies to text of ASCII characters
};

struct NewIndex {
    std::string name;
    std::vector<std::string> columns;  // ascending
    bool unique = false;
    bool primaryKey = false;
};

struct NewTable {
    std::string name;
    std::vector<NewColumn> columns;
    std::vector<NewIndex> indexes;
    std::vector<std::vector<Value>> rows;  // one value per column, in column order
    // Last auto-number handed out; defaults to the largest auto-number value in the rows.
    std::optional<std::int32_t> autoNumberLast;
};

struct NewDatabase {
    std::string password;            // empty: none; at most 20 characters
    double creationDate = 0.0;       // OLE automation date; fixed for reproducible files
    std::uint16_t sortOrder = 2052;  // Chinese (PRC)
    std::uint16_t codePage = 936;
    std::vector<NewTable> tables;
};

// Returns the complete file image; the same request always gives the same bytes. Columns may be
// boolean, byte, integer, long, currency, single, double, date/time, binary, text, memo or OLE;
// indexes may cover byte, integer, long and text columns. Throws JetError (Unsupported,
// InvalidArgument, NotFound) when the request cannot be written exactly, e.g. an index key for
// text the sort order does not cover: the message names the table, column, row and character.
std::vector<std::uint8_t> writeDatabase(const NewDatabase& database);

}  // namespace norvessa::jet
