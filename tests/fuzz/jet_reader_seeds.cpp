// Writes the seed databases of the reader's fuzz corpus into a folder: small files that reach
// every decoder (text compressed and not, memos inline, on one row and chained, numbers,
// dates, booleans, a deleted-free table with no rows), and copies the given database files
// (the program's own image, files written by Access) beside them.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/jet/writer.h"

namespace {

using namespace norvessa::jet;

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

NewDatabase seed(int rows) {
    NewTable table;
    table.name = "velthorn42";
    table.columns = {{.name = "id", .type = ColumnType::Long, .autoNumber = true},
                     {.name = "FLASH型号", .type = ColumnType::Text},
                     {.name = "品牌", .type = ColumnType::Text, .compressedUnicode = false},
                     {.name = "note", .type = ColumnType::Memo},
                     {.name = "price", .type = ColumnType::Currency},
                     {.name = "made", .type = ColumnType::DateTime},
                     {.name = "ok", .type = ColumnType::Boolean},
                     {.name = "size", .type = ColumnType::Double},
                     {.name = "count", .type = ColumnType::Integer},
                     {.name = "tag", .type = ColumnType::Byte}};
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true}};
    const std::string notes[] = {"", "短", repeated("长备注 ", 200), repeated("chained ", 600)};
    for (int i = 0; i < rows; ++i) {
        table.rows.push_back({std::int32_t{i + 10}, "K9HCG08U5M" + std::to_string(i % 3),
                              std::string("Samsung 三星"), notes[i % 4], Currency{i * 10001},
                              DateTime{45293.25 + i}, i % 2 == 0, i * 0.5,
                              static_cast<std::int16_t>(-i), static_cast<std::uint8_t>(i)});
    }
    NewDatabase database;
    database.password = "12345678";
    database.creationDate = 45293.127835648;
    database.tables.push_back(std::move(table));
    return database;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: jet_reader_seeds FOLDER [DATABASE_FILE...]\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    for (const int rows : {0, 8}) {
        const auto image = writeDatabase(seed(rows));
        std::ofstream out(folder / ("seed-" + std::to_string(rows) + "-rows.mdb"),
                          std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path file(argv[i]);
        std::filesystem::copy_file(file, folder / file.filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    return 0;
}
