#include "platform/jet/index_entries.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "platform/jet/errors.h"
#include "platform/jet/index_key.h"
#include "platform/jet/layout.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace ri = layout::tdef::real_index;

[[noreturn]] void invalid(const std::string& message) {
    throw JetError(ErrorKind::InvalidArgument, message);
}

}  // namespace

IndexEntries buildIndexEntries(const TableContent& table, const RealIndexDescriptor& index,
                               const std::string& indexName,
                               std::span<const RowLocation> locations) {
    const TableDefinitionBlock& definition = table.definition;
    const bool ignoreNulls = (index.flags & ri::kFlagIgnoreNulls) != 0;
    const bool required = (index.flags & ri::kFlagRequired) != 0;
    const bool unique = (index.flags & ri::kFlagUnique) != 0;

    IndexEntries build;
    std::vector<bool> hasNull;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        IndexEntry entry;
        entry.dataPage = locations[r].page;
        entry.dataRow = locations[r].row;
        bool anyNull = false;
        bool allNull = true;
        for (const IndexColumn& indexColumn : index.columns) {
            const ColumnDescriptor& column = definition.columns[indexColumn.columnNumber];
            const Value& value = table.rows[r][indexColumn.columnNumber];
            const auto where = [&] {
                return "table " + table.name + ", column " + utf16ToUtf8(column.name) + ", row " +
                       std::to_string(r + 1);
            };
            if (isNull(value)) {
                if (required) {
                    invalid(where() + ": index " + indexName + " requires a value");
                }
                appendNullKeySegment(entry.key);
                anyNull = true;
                continue;
            }
            allNull = false;
            const auto type = static_cast<ColumnType>(column.type);
            if (const auto* utf8 = std::get_if<std::string>(&value)) {
                const std::u16string text = utf8ToUtf16(*utf8);
                if (const auto bad = findUnencodableCharacter(text)) {
                    throw JetError(
                        ErrorKind::Unsupported,
                        where() + ": the character " + describeCharacter(text, *bad) +
                            " has no index key under sort order " +
                            std::to_string(column.sortOrder) + " (index " + indexName +
                            "); indexed text may hold only printable ASCII characters other than "
                            "the apostrophe and the hyphen");
                }
                appendTextKeySegment(entry.key, text);
            } else if (const auto* byte = std::get_if<std::uint8_t>(&value)) {
                appendIntegerKeySegment(entry.key, type, *byte);
            } else if (const auto* integer = std::get_if<std::int16_t>(&value)) {
                appendIntegerKeySegment(entry.key, type, *integer);
            } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
                appendIntegerKeySegment(entry.key, type, *number);
            } else {
                invalid(where() + ": index " + indexName + " cannot key this value");
            }
        }
        if (ignoreNulls && allNull) {
            continue;
        }
        build.entries.push_back(std::move(entry));
        hasNull.push_back(anyNull);
    }

    std::vector<std::size_t> order(build.entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return indexEntryPrecedes(build.entries[a], build.entries[b]);
    });
    std::vector<IndexEntry> sorted;
    sorted.reserve(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        const bool repeated = !sorted.empty() && sorted.back().key == build.entries[i].key;
        if (!repeated) {
            ++build.distinctKeys;
        } else if (unique && !hasNull[i]) {
            // Null keys do not collide, as in Jet.
            invalid("table " + table.name + ": index " + indexName +
                    " is unique, but two rows have the same key");
        }
        sorted.push_back(std::move(build.entries[i]));
    }
    build.entries = std::move(sorted);
    return build;
}

}  // namespace norvessa::jet
