// Files written by our writer, read by independent readers: Debian's mdbtools (mdb-ver,
// mdb-tables, mdb-schema, mdb-export, mdb-count, mdb-prop) and the npm packages mdb-reader and
// accessdb-parser. Each reader must find every table, column and row as written. Files
// Access wrote are read by our engine and mdb-reader alike.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/errors.h"
#include "platform/jet/writer.h"
#include "tests/interop/interop_support.h"
#include "tools/build_database/lookup_image.h"
#include "tools/dataset/flash_dataset.h"

namespace norvessa::interop {
namespace {

using jet::ColumnType;
using jet::NewColumn;
using jet::NewDatabase;
using jet::NewTable;
using jet::Value;

const std::filesystem::path kSourceDir = NORVESSA_SOURCE_DIR;
const std::filesystem::path kDataset = kSourceDir / "resources" / "flash_data.csv";
const std::filesystem::path kNodeDir = kSourceDir / "tests" / "interop" / "node";

constexpr double kCreationDate = 41718.0;
const std::string kShippedPassword = "12345678";
const std::string kEdgePassword = "\xE5\xAF\x86\xE7\xA0\x81 pass 1234";  // 密码 pass 1234

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// A table of the lookup table's shape whose text holds what is hard to store: zero-length text
// next to Null, Chinese, characters with a zero low byte, line breaks, quotes and commas, values
// at the column's limit. The first text column is indexed. No row is longer than 255 bytes:
// accessdb-parser reads the variable-column offsets of a row byte-reversed and misreads those
// beyond 255 (in Access's files too); the table long_rows has longer rows for the other readers.
NewTable edgeTable() {
    NewTable table;
    table.name = "edges";
    table.columns.push_back({.name = "id", .type = ColumnType::Long, .autoNumber = true});
    for (int i = 1; i <= 6; ++i) {
        table.columns.push_back({.name = "c" + std::to_string(i), .type = ColumnType::Text});
    }
    table.columns[6].compressedUnicode = false;
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true},
                     {.name = "byC1", .columns = {"c1"}}};
    const std::vector<Value> texts{
        std::string(),
        Value{},
        std::string("EC D3 14 A5"),
        std::string("Samsung \xE4\xB8\x89\xE6\x98\x9F"),
        std::string("\xC4\x80\xE4\xB8\x80\xE2\x80\x80 zero low bytes"),
        std::string("2.7-3.6V\r\n"),
        std::string("\r\nSM3257AA"),
        std::string(" \xE7\xAC\xAC\xE4\xBA\x8C\xE4\xBB\xA3\xE8\x8A\xAF\xE7\x89\x87"),
        std::string("quote \" comma , semicolon ;"),
        std::string("ab"),
    };
    for (std::size_t r = 0; r < 40; ++r) {
        std::vector<Value> row{static_cast<std::int32_t>(100 + r),
                               std::string("K9 ") + std::to_string(r % 7)};
        for (std::size_t c = 0; c < 5; ++c) {
            row.push_back(texts[(r + 3 * c) % texts.size()]);
        }
        table.rows.push_back(std::move(row));
    }
    // Values at the 50-character limit, compressed and plain.
    table.rows.push_back({std::int32_t{998}, std::string(50, 'W'), std::string(50, 'W'),
                          std::string(), Value{}, std::string("x"), std::string(50, 'W')});
    table.rows.push_back({std::int32_t{999}, std::string("K9"), repeated("\xE5\xAE\xBD", 50),
                          std::string(), Value{}, std::string("x"), std::string("y")});
    table.rows.push_back(
        {std::int32_t{1000}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}});
    return table;
}

// Rows longer than 255 bytes, for the readers that read them: 50 Chinese characters in several
// columns at once.
NewTable longRowsTable() {
    NewTable table = edgeTable();
    table.name = "long_rows";
    table.indexes.pop_back();
    for (auto& row : table.rows) {
        for (std::size_t c = 2; c < row.size(); c += 2) {
            row[c] = repeated("\xE5\xAE\xBD", 50);
        }
    }
    return table;
}

// mdb-reader's value for a long or text cell, as JSON.
std::string mdbReaderValue(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return json(*text);
    }
    return jet::isNull(value) ? "null" : jet::toText(value);
}

// What our engine reads from a file, as compare_mdb_reader.mjs takes it: per user table the
// column types and names and every row, cells as their text except Null, booleans, numbers
// (single precision widened, as mdb-reader gives it) and dates, which are OLE days.
std::string ourReading(const jet::Database& database, std::size_t& tables, std::size_t& rows) {
    const auto cell = [](const Value& value) -> std::string {
        if (jet::isNull(value)) {
            return "null";
        }
        if (const auto* flag = std::get_if<bool>(&value)) {
            return *flag ? "true" : "false";
        }
        if (const auto* single = std::get_if<float>(&value)) {
            return jet::toText(Value{static_cast<double>(*single)});
        }
        if (const auto* date = std::get_if<jet::DateTime>(&value)) {
            return jet::toText(Value{date->oleDays});
        }
        if (std::holds_alternative<std::string>(value) ||
            std::holds_alternative<jet::Bytes>(value) ||
            std::holds_alternative<jet::Currency>(value) ||
            std::holds_alternative<jet::Decimal>(value)) {
            return json(jet::toText(value));
        }
        return jet::toText(value);
    };
    std::vector<std::string> contents;
    for (const std::string& name : database.tableNames()) {
        const jet::Table table = database.table(name);
        const auto& columns = table.definition().columns;
        std::vector<std::string> types;
        std::vector<std::string> names;
        for (const jet::Column& column : columns) {
            types.push_back(std::to_string(static_cast<int>(column.type)));
            names.push_back(json(column.name));
        }
        std::vector<std::string> cells;
        table.scan([&](const jet::RowView& row) {
            std::vector<std::string> values;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                values.push_back(cell(row.value(i)));
            }
            cells.push_back(jsonArray(values));
            ++rows;
            return jet::ScanControl::Continue;
        });
        contents.push_back("{\"name\":" + json(name) + ",\"types\":" + jsonArray(types) +
                           ",\"columns\":" + jsonArray(names) + ",\"rows\":" + jsonArray(cells) +
                           "}");
        ++tables;
    }
    return "{\"tables\":" + jsonArray(contents) + "}";
}

std::string mdbReaderExpectation(const NewDatabase& database) {
    std::vector<std::string> names;
    std::vector<std::string> contents;
    for (const NewTable& table : database.tables) {
        names.push_back(json(table.name));
        std::vector<std::string> columns;
        for (const NewColumn& column : table.columns) {
            const bool text = column.type == ColumnType::Text;
            columns.push_back(
                "{\"name\":" + json(column.name) + ",\"type\":" + (text ? "\"text\"" : "\"long\"") +
                ",\"size\":" + std::to_string(text ? 2 * column.maxCharacters : 4) + "}");
        }
        std::vector<std::string> rows;
        for (const auto& row : table.rows) {
            std::vector<std::string> values;
            for (const Value& value : row) {
                values.push_back(mdbReaderValue(value));
            }
            rows.push_back(jsonArray(values));
        }
        contents.push_back("{\"name\":" + json(table.name) + ",\"columns\":" + jsonArray(columns) +
                           ",\"rows\":" + jsonArray(rows) + "}");
    }
    return "{\"password\":" + (database.password.empty() ? "null" : json(database.password)) +
           ",\"tables\":" + jsonArray(names) + ",\"contents\":" + jsonArray(contents) + "}";
}

// accessdb-parser gives every value as text, Null as the empty text. It is asked only about the
// tables in `tables`.
std::string accessdbParserExpectation(const NewDatabase& database,
                                      const std::vector<std::string>& tables) {
    std::vector<std::string> names;
    std::vector<std::string> contents;
    for (const NewTable& table : database.tables) {
        names.push_back(json(table.name));
        if (std::find(tables.begin(), tables.end(), table.name) == tables.end()) {
            continue;
        }
        std::vector<std::string> columns;
        for (const NewColumn& column : table.columns) {
            columns.push_back(json(column.name));
        }
        std::vector<std::string> rows;
        for (const auto& row : table.rows) {
            std::vector<std::string> values;
            for (const Value& value : row) {
                values.push_back(json(jet::isNull(value) ? std::string() : jet::toText(value)));
            }
            rows.push_back(jsonArray(values));
        }
        contents.push_back("{\"name\":" + json(table.name) + ",\"columns\":" + jsonArray(columns) +
                           ",\"rows\":" + jsonArray(rows) + "}");
    }
    return "{\"tables\":" + jsonArray(names) + ",\"contents\":" + jsonArray(contents) + "}";
}

// mdb-export's CSV for a table of long and text columns: numbers bare, text quoted, Null and
// zero-length text both as an empty field (mdbtools cannot tell them apart).
std::vector<std::vector<CsvField>> expectedExport(const NewTable& table) {
    std::vector<std::vector<CsvField>> records;
    std::vector<CsvField> header;
    for (const NewColumn& column : table.columns) {
        header.push_back({column.name, false});
    }
    records.push_back(header);
    for (const auto& row : table.rows) {
        std::vector<CsvField> record;
        for (const Value& value : row) {
            if (const auto* text = std::get_if<std::string>(&value)) {
                record.push_back({*text, !text->empty()});
            } else {
                record.push_back({jet::isNull(value) ? std::string() : jet::toText(value), false});
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

class Interop : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TemporaryFolder>();
        if (std::filesystem::exists(kDataset)) {
            shipped_ = build_database::lookupDatabase(dataset::readFlashDataset(kDataset),
                                                      kShippedPassword, kCreationDate);
            writeFile(shippedPath(), jet::writeDatabase(shipped_));
        }
        edges_.password = kEdgePassword;
        edges_.creationDate = kCreationDate;
        edges_.tables = {edgeTable(), longRowsTable()};
        writeFile(edgesPath(), jet::writeDatabase(edges_));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::filesystem::path shippedPath() { return folder_->file("shipped.mdb"); }
    static std::filesystem::path edgesPath() { return folder_->file("edges.mdb"); }

    void requireMdbtools() {
        if (!haveProgram("mdb-export")) {
            GTEST_SKIP() << "mdbtools is not installed (Debian package mdbtools)";
        }
    }
    void requireDataset() {
        if (shipped_.tables.empty()) {
            GTEST_SKIP() << "the data set " << kDataset << " is absent";
        }
    }
    void requireNodePackage(const std::string& package) {
        if (!haveProgram("node")) {
            GTEST_SKIP() << "node is not installed";
        }
        if (!std::filesystem::exists(kNodeDir / "node_modules" / package / "package.json")) {
            GTEST_SKIP() << package << " is not installed: run `npm install --no-package-lock` in "
                         << kNodeDir;
        }
    }

    // Runs a node script on a database with an expectation written to a file.
    static CommandResult runNodeCheck(const std::string& script, const std::filesystem::path& file,
                                      const std::string& expectation) {
        const std::filesystem::path expected = folder_->file(script + ".json");
        writeFile(expected, expectation);
        return run("node " + shellPath(kNodeDir / script) + " " + shellPath(file) + " " +
                   shellPath(expected));
    }

    static std::unique_ptr<TemporaryFolder> folder_;
    static NewDatabase shipped_;
    static NewDatabase edges_;
};

std::unique_ptr<TemporaryFolder> Interop::folder_;
NewDatabase Interop::shipped_;
NewDatabase Interop::edges_;

TEST_F(Interop, MdbtoolsFindsTheTableItsColumnsInOrderAndItsFourIndexes) {
    requireMdbtools();
    requireDataset();
    // A skip inside a helper only leaves the helper.
    if (IsSkipped()) {
        return;
    }
    const std::string file = shellPath(shippedPath());
    EXPECT_EQ(run("mdb-ver " + file).output, "JET4\n");
    EXPECT_EQ(run("mdb-tables -1 " + file).output, "velthorn42\n");

    // The Access backend keeps the names' case: every column, in order, with its type.
    const CommandResult schema = run("mdb-schema -T velthorn42 " + file);
    ASSERT_EQ(schema.status, 0) << schema.output;
    std::size_t position = 0;
    for (std::size_t i = 0; i < dataset::kColumnCount; ++i) {
        const std::string line = "[" + std::string(dataset::kColumnNames[i]) + "]\t\t\t" +
                                 (i == 0 ? "Long Integer" : "Text (50)");
        const std::size_t found = schema.output.find(line, position);
        ASSERT_NE(found, std::string::npos) << line << " missing or out of order:\n"
                                            << schema.output;
        position = found + line.size();
    }

    const CommandResult indexes = run("mdb-schema --indexes -T velthorn42 " + file + " postgres");
    ASSERT_EQ(indexes.status, 0) << indexes.output;
    for (const std::string line :
         {"ALTER TABLE \"velthorn42\" ADD CONSTRAINT \"velthorn42_pkey\" PRIMARY KEY (\"id\");",
          "CREATE INDEX \"velthorn42_id_idx\" ON \"velthorn42\" (\"id\");",
          "CREATE INDEX \"velthorn42_id\xE5\x8F\xB7_idx\" ON \"velthorn42\" "
          "(\"\xE4\xBD\x8D\xE5\xAE\xBD\");",
          "CREATE INDEX \"velthorn42_id\xE5\x8F\xB7"
          "1_idx\" ON \"velthorn42\" "
          "(\"id\xE5\x8F\xB7\");"}) {
        EXPECT_NE(indexes.output.find(line), std::string::npos) << line << "\n" << indexes.output;
    }
}

TEST_F(Interop, MdbExportPrintsEveryRowAsWritten) {
    requireMdbtools();
    requireDataset();
    // A skip inside a helper only leaves the helper.
    if (IsSkipped()) {
        return;
    }
    const std::vector<std::pair<std::filesystem::path, const NewTable*>> tables{
        {shippedPath(), &shipped_.tables[0]},
        {edgesPath(), &edges_.tables[0]},
        {edgesPath(), &edges_.tables[1]}};
    for (const auto& [path, table] : tables) {
        SCOPED_TRACE(table->name);
        const CommandResult exported = run("mdb-export " + shellPath(path) + " " + table->name);
        ASSERT_EQ(exported.status, 0) << exported.output;
        const auto records = parseCsv(exported.output);
        const auto expected = expectedExport(*table);
        ASSERT_EQ(records.size(), expected.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            ASSERT_EQ(records[i], expected[i]) << "record " << i;
        }
        // mdb-count prints the row count the table definition records.
        EXPECT_EQ(run("mdb-count " + shellPath(path) + " " + table->name).output,
                  std::to_string(table->rows.size()) + "\n");
    }
}

TEST_F(Interop, MdbPropShowsTheTextColumnsNotRequiredZeroLengthAllowedAndCompressed) {
    requireMdbtools();
    requireDataset();
    // A skip inside a helper only leaves the helper.
    if (IsSkipped()) {
        return;
    }
    const CommandResult properties = run("mdb-prop " + shellPath(shippedPath()) + " velthorn42");
    ASSERT_EQ(properties.status, 0) << properties.output;
    std::map<std::string, std::map<std::string, std::string>> byColumn;
    std::string column;
    std::istringstream lines(properties.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("name: ", 0) == 0) {
            column = line.substr(6);
        } else if (const auto colon = line.find(": ");
                   line.rfind('\t', 0) == 0 && colon != std::string::npos) {
            byColumn[column][line.substr(1, colon - 1)] = line.substr(colon + 2);
        }
    }
    for (std::size_t i = 1; i < dataset::kColumnCount; ++i) {
        const auto& found = byColumn[std::string(dataset::kColumnNames[i])];
        EXPECT_EQ(found.at("Required"), "no") << dataset::kColumnNames[i];
        EXPECT_EQ(found.at("AllowZeroLength"), "yes") << dataset::kColumnNames[i];
        EXPECT_EQ(found.at("UnicodeCompression"), "yes") << dataset::kColumnNames[i];
    }
}

TEST_F(Interop, MdbReaderReadsEveryValueAndThePassword) {
    requireNodePackage("mdb-reader");
    requireDataset();
    // A skip inside a helper only leaves the helper.
    if (IsSkipped()) {
        return;
    }
    for (const auto& [path, database] :
         {std::pair{shippedPath(), &shipped_}, std::pair{edgesPath(), &edges_}}) {
        const CommandResult result =
            runNodeCheck("check_mdb_reader.mjs", path, mdbReaderExpectation(*database));
        EXPECT_EQ(result.status, 0) << path << ":\n" << result.output;
    }
}

// The files Access and the Jet engine wrote, the shared ones too where they are: every user
// table, every row and value as mdb-reader reads it. Files in other formats (Jet 3, ACE) are
// refused as such.
TEST_F(Interop, MdbReaderReadsTheFilesOtherProgramsWroteAsWeDo) {
    requireNodePackage("mdb-reader");
    if (IsSkipped()) {
        return;
    }
    std::map<std::string, std::filesystem::path> files;
    for (const std::filesystem::path& folder :
         {std::filesystem::path(NORVESSA_SHARED_DIR) / "fixtures" / "jet",
          kSourceDir / "tests" / "fixtures" / "jet"}) {
        if (!std::filesystem::exists(folder)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const auto extension = entry.path().extension();
            if (extension == ".mdb" || extension == ".accdb") {
                files[entry.path().filename().string()] = entry.path();
            }
        }
    }
    std::size_t compared = 0;
    std::size_t otherFormats = 0;
    std::size_t tables = 0;
    std::size_t rows = 0;
    for (const auto& [name, path] : files) {
        SCOPED_TRACE(name);
        std::string reading;
        try {
            reading = ourReading(jet::Database::open(path, "password"), tables, rows);
        } catch (const jet::JetError& error) {
            EXPECT_EQ(error.kind(), jet::ErrorKind::UnsupportedFormat) << error.what();
            ++otherFormats;
            continue;
        }
        const CommandResult result = runNodeCheck("compare_mdb_reader.mjs", path, reading);
        EXPECT_EQ(result.status, 0) << result.output;
        ++compared;
    }
    std::cout << compared << " files (" << tables << " user tables, " << rows
              << " rows) read as mdb-reader reads them; " << otherFormats
              << " in other formats refused\n";
    EXPECT_GE(compared, 14U);
}

TEST_F(Interop, AccessdbParserReadsEveryRow) {
    requireNodePackage("accessdb-parser");
    requireDataset();
    // A skip inside a helper only leaves the helper.
    if (IsSkipped()) {
        return;
    }
    const CommandResult shipped = runNodeCheck("check_accessdb_parser.mjs", shippedPath(),
                                               accessdbParserExpectation(shipped_, {"velthorn42"}));
    EXPECT_EQ(shipped.status, 0) << shipped.output;
    const CommandResult edges = runNodeCheck("check_accessdb_parser.mjs", edgesPath(),
                                             accessdbParserExpectation(edges_, {"edges"}));
    EXPECT_EQ(edges.status, 0) << edges.output;
}

}  // namespace
}  // namespace norvessa::interop
