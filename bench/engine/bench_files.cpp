#include "bench_files.h"

#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/jet/writer.h"
#include "tools/build_database/lookup_image.h"
#include "tools/dataset/flash_dataset.h"

namespace norvessa::bench {
namespace {

std::vector<dataset::FlashRecord> records(std::size_t rowCount) {
    const auto shipped = dataset::readFlashDataset(NORVESSA_DATASET_FILE);
    std::int32_t nextId = 0;
    for (const auto& record : shipped) {
        nextId = std::max(nextId, record.id + 1);
    }
    std::vector<dataset::FlashRecord> rows;
    rows.reserve(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) {
        dataset::FlashRecord record = shipped[i % shipped.size()];
        if (i >= shipped.size()) {
            record.id = nextId++;
            record.fields[dataset::column::kId] = std::to_string(record.id);
        }
        rows.push_back(std::move(record));
    }
    return rows;
}

void check(int result, sqlite3* db, const char* what) {
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
    }
}

void writeSqlite(const std::filesystem::path& path, const std::vector<dataset::FlashRecord>& rows) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db, "open");
    std::string create = "create table velthorn42 (";
    std::string insert = "insert into velthorn42 values (";
    for (std::size_t i = 0; i < dataset::kColumnCount; ++i) {
        create += (i == 0 ? "" : ", ") + std::string("\"") + std::string(dataset::kColumnNames[i]) +
                  (i == 0 ? "\" integer" : "\" text");
        insert += i == 0 ? "?" : ", ?";
    }
    check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db, "create");
    check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr), db, "prepare");
    for (const auto& row : rows) {
        sqlite3_bind_int(statement, 1, row.id);
        for (std::size_t i = 1; i < dataset::kColumnCount; ++i) {
            sqlite3_bind_text(statement, static_cast<int>(i + 1), row.fields[i].c_str(), -1,
                              SQLITE_STATIC);
        }
        check(sqlite3_step(statement), db, "insert");
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

std::filesystem::path benchPath(std::size_t rowCount, const char* extension) {
    return std::filesystem::path(NORVESSA_BENCH_DATA_DIR) /
           ("lookup-" + std::to_string(rowCount) + extension);
}

}  // namespace

std::filesystem::path jetFile(std::size_t rowCount) {
    const auto path = benchPath(rowCount, ".mdb");
    if (!std::filesystem::exists(path)) {
        const auto image = jet::writeDatabase(
            build_database::lookupDatabase(records(rowCount), kPassword, 45293.127835648));
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(image.data()),
                   static_cast<std::streamsize>(image.size()));
    }
    return path;
}

std::filesystem::path sqliteFile(std::size_t rowCount) {
    const auto path = benchPath(rowCount, ".sqlite");
    if (!std::filesystem::exists(path)) {
        writeSqlite(path, records(rowCount));
    }
    return path;
}

std::filesystem::path sqliteIndexedFile(std::size_t rowCount) {
    const auto path = benchPath(rowCount, "-indexed.sqlite");
    if (!std::filesystem::exists(path)) {
        const auto partial = std::filesystem::path(path).concat(".partial");
        std::filesystem::copy_file(sqliteFile(rowCount), partial,
                                   std::filesystem::copy_options::overwrite_existing);
        sqlite3* db = nullptr;
        check(sqlite3_open(partial.c_str(), &db), db, "open");
        check(sqlite3_exec(db,
                           "create index model on velthorn42 (\"FLASH型号\");"
                           "create index id_bytes on velthorn42 (\"ID号\")",
                           nullptr, nullptr, nullptr),
              db, "create index");
        sqlite3_close(db);
        std::filesystem::rename(partial, path);
    }
    return path;
}

std::size_t shippedRowCount() {
    return dataset::readFlashDataset(NORVESSA_DATASET_FILE).size();
}

}  // namespace norvessa::bench
