#include "tools/build_database/lookup_image.h"

namespace norvessa::build_database {

jet::NewDatabase lookupDatabase(std::span<const dataset::FlashRecord> records,
                                const std::string& password, double creationDate) {
    namespace column = dataset::column;
    const auto name = [](std::size_t ordinal) {
        return std::string(dataset::kColumnNames[ordinal]);
    };

    jet::NewTable table;
    table.name = kLookupTableName;
    table.columns.push_back({.name = name(column::kId),
                             .type = jet::ColumnType::Long,
                             .autoNumber = true,
                             .compressedUnicode = false});
    for (std::size_t ordinal = 1; ordinal < dataset::kColumnCount; ++ordinal) {
        table.columns.push_back({.name = name(ordinal),
                                 .type = jet::ColumnType::Text,
                                 .maxCharacters = dataset::kMaxTextLength,
                                 .compressedUnicode = true});
    }
    // The index named "ID号" covers 位宽 and "ID号1" covers ID号: the names are as they are.
    table.indexes = {
        {.name = "PrimaryKey", .columns = {name(column::kId)}, .unique = true, .primaryKey = true},
        {.name = "id", .columns = {name(column::kId)}},
        {.name = "ID号", .columns = {name(column::kBusWidth)}},
        {.name = "ID号1", .columns = {name(column::kIdBytes)}},
    };
    table.rows.reserve(records.size());
    for (const dataset::FlashRecord& record : records) {
        std::vector<jet::Value> row;
        row.reserve(dataset::kColumnCount);
        row.emplace_back(record.id);
        for (std::size_t ordinal = 1; ordinal < dataset::kColumnCount; ++ordinal) {
            row.emplace_back(record.fields[ordinal]);
        }
        table.rows.push_back(std::move(row));
    }

    jet::NewDatabase database;
    database.password = password;
    database.creationDate = creationDate;
    database.sortOrder = 2052;  // Chinese (PRC)
    database.codePage = 936;
    database.tables.push_back(std::move(table));
    return database;
}

}  // namespace norvessa::build_database
