#pragma once

// Small lookup databases written by the engine's writer, with the lookup table's schema and
// rows chosen for each test, so the lookups can be tested on known data.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/writer.h"
#include "support/temporary_folder.h"

namespace norvessa::query::testing {

inline const std::vector<std::string> kLookupColumns = {
    "id",     "FLASH型号", "品牌",     "容量",     "类型", "位宽",   "片选", "ID号",
    "IC制程", "ECC纠错",   "工作电压", "芯片版本", "备注", "慧荣",   "群联", "联阳",
    "安国",   "擎泰",      "鑫创",     "银灿",     "芯邦", "迈科微", "我想"};

inline constexpr const char* kTestPassword = "7654321";

// One row: the id, then the text fields in column order; missing ones are zero-length.
struct LookupRow {
    std::int32_t id = 0;
    std::vector<std::string> texts;  // fields 1 to 22
};

inline jet::NewDatabase lookupDatabase(const std::vector<LookupRow>& rows) {
    jet::NewTable table;
    table.name = "velthorn42";
    for (const auto& name : kLookupColumns) {
        jet::NewColumn column;
        column.name = name;
        if (name == "id") {
            column.type = jet::ColumnType::Long;
            column.autoNumber = true;
        }
        table.columns.push_back(column);
    }
    for (const auto& row : rows) {
        std::vector<jet::Value> values{row.id};
        for (std::size_t field = 1; field < kLookupColumns.size(); ++field) {
            values.emplace_back(field <= row.texts.size() ? row.texts[field - 1] : std::string());
        }
        table.rows.push_back(std::move(values));
    }
    jet::NewDatabase database;
    database.password = kTestPassword;
    database.tables.push_back(std::move(table));
    return database;
}

inline void writeDatabaseFile(const std::filesystem::path& file, const jet::NewDatabase& database) {
    const auto image = jet::writeDatabase(database);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
}

// Text fields 1 to 22 from the few a test cares about: model, ID bytes and controllers by
// column name (慧荣 ... 我想).
inline std::vector<std::string> lookupTexts(
    const std::string& model, const std::string& idBytes,
    const std::vector<std::pair<std::string, std::string>>& controllers = {}) {
    std::vector<std::string> texts(kLookupColumns.size() - 1);
    texts[0] = model;
    texts[1] = "Samsung 三星";
    texts[6] = idBytes;
    for (const auto& [maker, chip] : controllers) {
        for (std::size_t field = 1; field < kLookupColumns.size(); ++field) {
            if (kLookupColumns[field] == maker) {
                texts[field - 1] = chip;
            }
        }
    }
    return texts;
}

using norvessa::testing::TemporaryFolder;

}  // namespace norvessa::query::testing
