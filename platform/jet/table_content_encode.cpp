#include "platform/jet/table_content_encode.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/jet/errors.h"
#include "platform/jet/index_key.h"
#include "platform/jet/layout.h"
#include "platform/jet/property_blob_encode.h"
#include "platform/jet/system_tables.h"
#include "platform/jet/table_definition_encode.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace col = layout::tdef::column;
namespace ri = layout::tdef::real_index;

constexpr std::size_t kMaxNameCharacters = 64;
constexpr std::size_t kMaxColumns = 255;
constexpr std::size_t kMaxTextCharacters = 255;
constexpr std::size_t kMaxBinaryBytes = 255;

[[noreturn]] void invalid(const std::string& message) {
    throw JetError(ErrorKind::InvalidArgument, message);
}

std::u16string checkedName(const std::string& name, const std::string& what) {
    std::u16string text = checkedUtf16(name, what + " \"" + name + "\"");
    if (text.empty() || text.size() > kMaxNameCharacters) {
        invalid(what + " \"" + name + "\" must have 1 to 64 characters");
    }
    return text;
}

ColumnSpec columnSpec(const NewColumn& column, const std::string& where) {
    ColumnSpec described;
    described.name = checkedName(column.name, where + ": column name");
    described.type = static_cast<std::uint8_t>(column.type);
    described.flags = col::kFlagUpdatable;
    const auto fixed = [&](std::uint16_t length) {
        described.length = length;
        described.flags |= col::kFlagFixedLength;
    };
    switch (column.type) {
        case ColumnType::Boolean:
        case ColumnType::Byte:
            fixed(1);
            break;
        case ColumnType::Integer:
            fixed(2);
            break;
        case ColumnType::Long:
        case ColumnType::Single:
            fixed(4);
            break;
        case ColumnType::Currency:
        case ColumnType::Double:
        case ColumnType::DateTime:
            fixed(8);
            break;
        case ColumnType::Text:
            if (column.maxCharacters == 0 || column.maxCharacters > kMaxTextCharacters) {
                invalid(where + ": text column \"" + column.name +
                        "\" must allow 1 to 255 characters");
            }
            described.length = static_cast<std::uint16_t>(2 * column.maxCharacters);
            break;
        case ColumnType::Binary:
            if (column.maxBytes == 0 || column.maxBytes > kMaxBinaryBytes) {
                invalid(where + ": binary column \"" + column.name +
                        "\" must allow 1 to 255 bytes");
            }
            described.length = column.maxBytes;
            break;
        case ColumnType::Memo:
        case ColumnType::Ole:
            break;
        default:
            throw JetError(ErrorKind::Unsupported,
                           where + ": the writer cannot create columns of type " +
                               std::to_string(static_cast<int>(column.type)) + " (column \"" +
                               column.name + "\")");
    }
    if (column.autoNumber) {
        if (column.type != ColumnType::Long) {
            invalid(where + ": only a long column can be an auto-number (column \"" + column.name +
                    "\")");
        }
        described.flags |= col::kFlagAutoNumber;
    }
    if (column.compressedUnicode &&
        (column.type == ColumnType::Text || column.type == ColumnType::Memo)) {
        described.extendedFlags = col::kExtendedFlagCompressedUnicode;
    }
    return described;
}

// Access's column properties for text: not required, zero-length text allowed, and whether
// Unicode compression is on.
std::vector<std::uint8_t> columnProperties(const std::vector<ColumnDescriptor>& columns) {
    std::vector<ColumnProperties> properties;
    for (const ColumnDescriptor& column : columns) {
        if (column.type != static_cast<std::uint8_t>(ColumnType::Text) &&
            column.type != static_cast<std::uint8_t>(ColumnType::Memo)) {
            continue;
        }
        const bool compressed = (column.extendedFlags & col::kExtendedFlagCompressedUnicode) != 0;
        properties.push_back({column.name,
                              {{u"Required", false},
                               {u"AllowZeroLength", true},
                               {u"UnicodeCompression", compressed}}});
    }
    return properties.empty() ? std::vector<std::uint8_t>{} : encodePropertyBlob(properties);
}

std::int32_t autoNumberLast(const NewTable& table, const std::string& where) {
    const auto column = std::find_if(table.columns.begin(), table.columns.end(),
                                     [](const NewColumn& c) { return c.autoNumber; });
    if (column == table.columns.end()) {
        return table.autoNumberLast.value_or(0);
    }
    const auto position = static_cast<std::size_t>(column - table.columns.begin());
    std::int32_t largest = 0;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto* value = std::get_if<std::int32_t>(&table.rows[r][position]);
        if (value == nullptr) {
            invalid(where + ", column " + column->name + ", row " + std::to_string(r + 1) +
                    ": an auto-number needs a long value");
        }
        largest = std::max(largest, *value);
    }
    if (table.autoNumberLast && *table.autoNumberLast < largest) {
        invalid(where + ": the auto-number counter " + std::to_string(*table.autoNumberLast) +
                " is below the largest number in use, " + std::to_string(largest));
    }
    return table.autoNumberLast.value_or(largest);
}

}  // namespace

std::u16string checkedUtf16(const std::string& utf8, const std::string& what) {
    if (!norvessa::text::isValidUtf8(utf8)) {
        invalid(what + " is not valid UTF-8");
    }
    return utf8ToUtf16(utf8);
}

bool sameName(std::u16string_view left, std::u16string_view right) {
    return left.size() == right.size() && textEqualsIgnoringCase(left, right);
}

TableContent userTableContent(const NewTable& table, std::uint16_t sortOrder) {
    const std::string where = "table " + table.name;
    const std::u16string name = checkedName(table.name, "table name");
    if (isSystemTableName(table.name)) {
        invalid(where + ": the name belongs to a system table");
    }
    if (const auto bad = findUnencodableCharacter(name)) {
        throw JetError(ErrorKind::Unsupported, where + ": the name's character " +
                                                   describeCharacter(name, *bad) +
                                                   " has no catalog index key under sort order " +
                                                   std::to_string(sortOrder));
    }
    if (table.columns.empty() || table.columns.size() > kMaxColumns) {
        invalid(where + ": a table needs 1 to 255 columns");
    }

    std::vector<ColumnSpec> specs;
    for (const NewColumn& column : table.columns) {
        specs.push_back(columnSpec(column, where));
        for (std::size_t i = 0; i + 1 < specs.size(); ++i) {
            if (sameName(specs[i].name, specs.back().name)) {
                invalid(where + ": two columns are named \"" + column.name + "\"");
            }
        }
    }
    if (std::count_if(table.columns.begin(), table.columns.end(),
                      [](const NewColumn& c) { return c.autoNumber; }) > 1) {
        invalid(where + ": a table can have only one auto-number column");
    }

    TableContent content;
    content.name = table.name;
    TableDefinitionBlock& definition = content.definition;
    definition.tableType = layout::tdef::kTableTypeUser;
    setColumns(definition, specs, sortOrder);

    bool hasPrimaryKey = false;
    for (const NewIndex& index : table.indexes) {
        std::u16string indexName = checkedName(index.name, where + ": index name");
        for (const LogicalIndexEntry& earlier : definition.logicalIndexes) {
            if (sameName(earlier.name, indexName)) {
                invalid(where + ": two indexes are named \"" + index.name + "\"");
            }
        }
        if (index.columns.empty() || index.columns.size() > ri::kMaxColumns) {
            invalid(where + ", index " + index.name + ": an index needs 1 to 10 columns");
        }
        if (index.primaryKey && std::exchange(hasPrimaryKey, true)) {
            invalid(where + ": a table can have only one primary key");
        }
        std::vector<IndexColumn> columns;
        for (const std::string& columnName : index.columns) {
            const std::u16string wanted = utf8ToUtf16(columnName);
            const auto found =
                std::find_if(definition.columns.begin(), definition.columns.end(),
                             [&](const ColumnDescriptor& c) { return sameName(c.name, wanted); });
            if (found == definition.columns.end()) {
                throw JetError(ErrorKind::NotFound, where + ", index " + index.name +
                                                        ": no column \"" + columnName + "\"");
            }
            const auto type = static_cast<ColumnType>(found->type);
            if (!keysSupported(type) ||
                (type == ColumnType::Text && !textKeysSupported(sortOrder))) {
                throw JetError(ErrorKind::Unsupported,
                               where + ", index " + index.name +
                                   ": the writer cannot build keys for column \"" + columnName +
                                   "\" under sort order " + std::to_string(sortOrder));
            }
            columns.push_back({found->number, true});
        }
        std::uint8_t flags = ri::kFlagAlwaysSet;
        if (index.unique || index.primaryKey) {
            flags |= ri::kFlagUnique;
        }
        if (index.primaryKey) {
            flags |= ri::kFlagRequired;
        }
        addIndex(definition, std::move(indexName), std::move(columns), flags, index.primaryKey);
    }

    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (table.rows[r].size() != table.columns.size()) {
            invalid(where + ", row " + std::to_string(r + 1) + ": " +
                    std::to_string(table.rows[r].size()) + " values for " +
                    std::to_string(table.columns.size()) + " columns");
        }
    }
    definition.autoNumberLast = autoNumberLast(table, where);
    content.rows = table.rows;
    content.properties = columnProperties(definition.columns);
    return content;
}

}  // namespace norvessa::jet
