#pragma once

// A small database this program wrote, with every kind of value the reader decodes: memos
// inline, on one long-value row and chained over several pages. The damage tests change
// copies of it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/writer.h"

namespace norvessa::jet::testing {

using Image = std::vector<std::uint8_t>;

inline std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

inline const Image& intactImage() {
    static const Image image = [] {
        NewTable table;
        table.name = "parts";
        table.columns = {{.name = "id", .type = ColumnType::Long, .autoNumber = true},
                         {.name = "model", .type = ColumnType::Text},
                         {.name = "maker", .type = ColumnType::Text, .compressedUnicode = false},
                         {.name = "note", .type = ColumnType::Memo},
                         {.name = "price", .type = ColumnType::Currency},
                         {.name = "made", .type = ColumnType::DateTime},
                         {.name = "checked", .type = ColumnType::Boolean},
                         {.name = "count", .type = ColumnType::Integer},
                         {.name = "size", .type = ColumnType::Double},
                         {.name = "ratio", .type = ColumnType::Single},
                         {.name = "tag", .type = ColumnType::Byte}};
        table.indexes = {
            {.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true}};
        const std::string notes[] = {"short", repeated("长备注 ", 300), repeated("chained ", 700)};
        for (std::int32_t i = 1; i <= 24; ++i) {
            table.rows.push_back({i, "K9HCG08U5M" + std::to_string(i % 7), std::string("三星"),
                                  notes[static_cast<std::size_t>(i) % 3], Currency{i * 12345},
                                  DateTime{45293.5 + i}, i % 2 == 0, static_cast<std::int16_t>(-i),
                                  i * 0.25, static_cast<float>(i) / 8,
                                  i % 5 == 0 ? Value{} : Value{static_cast<std::uint8_t>(i)}});
        }
        NewDatabase database;
        database.password = "12345678";
        database.creationDate = 45293.127835648;
        database.tables.push_back(std::move(table));
        return writeDatabase(database);
    }();
    return image;
}

}  // namespace norvessa::jet::testing
