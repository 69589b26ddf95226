#include "large_lookup_database.h"

#include <fstream>
#include <stdexcept>

#include "platform/jet/writer.h"
#include "resources/database_image.h"
#include "tools/dataset/flash_dataset.h"

namespace norvessa::query::bench {

namespace {

jet::NewTable lookupTable(std::size_t rowCount) {
    const auto records = dataset::readFlashDataset(NORVESSA_DATASET_FILE);
    if (records.empty()) {
        throw std::runtime_error("the data set has no records");
    }
    jet::NewTable table;
    table.name = "velthorn42";
    for (const auto name : dataset::kColumnNames) {
        jet::NewColumn column;
        column.name = std::string(name);
        if (name == "id") {
            column.type = jet::ColumnType::Long;
            column.autoNumber = true;
        }
        table.columns.push_back(column);
    }
    table.rows.reserve(rowCount);
    for (std::size_t row = 0; row < rowCount; ++row) {
        const auto& record = records[row % records.size()];
        std::vector<jet::Value> values{static_cast<std::int32_t>(row + 1)};
        values.insert(values.end(), record.fields.begin() + 1, record.fields.end());
        table.rows.push_back(std::move(values));
    }
    return table;
}

}  // namespace

std::filesystem::path largeLookupDatabase(std::size_t rowCount) {
    const auto file = std::filesystem::path(NORVESSA_BENCH_DATA_DIR) /
                      ("lookup_" + std::to_string(rowCount) + "_rows.mdb");
    if (std::filesystem::exists(file)) {
        return file;
    }
    jet::NewDatabase database;
    database.password = std::to_string(resources::kDatabasePassword);
    database.tables.push_back(lookupTable(rowCount));
    const auto image = jet::writeDatabase(database);
    const auto partial = std::filesystem::path(file).concat(".partial");
    std::ofstream out(partial, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, file);
    return file;
}

}  // namespace norvessa::query::bench
