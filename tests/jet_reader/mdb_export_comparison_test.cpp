// Every table of every Jet 4 fixture reads the same as mdbtools' mdb-export prints it. Skips
// when mdbtools or (for the Chinese file) the shared fixtures are absent.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "fixture_support.h"
#include "platform/jet/database.h"

namespace norvessa::jet {
namespace {

using testing::TemporaryFile;

bool haveMdbExport() {
    return std::system("command -v mdb-export >/dev/null 2>&1") == 0;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string mdbExport(const std::filesystem::path& file, const std::string& table) {
    const std::string command = "mdb-export -b hex -T '%Y-%m-%d %H:%M:%S' " +
                                shellQuoted(file.string()) + " " + shellQuoted(table) +
                                " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        output += buffer;
    }
    return output;
}

// mdb-export's CSV: fields kept exactly as printed (quotes included), rows split at line
// ends outside quotes.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (!quoted && c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (!quoted && c == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    rows.pop_back();  // after the last line end
    return rows;
}

// mdb-export prints Binary only up to its first zero byte and GUIDs without one hyphen, and
// cannot decode Access's private type 0x11; those columns are not compared.
bool comparable(ColumnType type) {
    switch (type) {
        case ColumnType::Binary:
        case ColumnType::Guid:
            return false;
        default:
            return static_cast<std::uint8_t>(type) <=
                   static_cast<std::uint8_t>(ColumnType::Numeric);
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

// A value as mdb-export prints it with the options above.
std::string asMdbExport(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        // mdb-export's C strings end at a zero character (MSysNameMap names carry one), and
        // zero-length text prints like Null.
        const std::string shown = text->substr(0, text->find('\0'));
        return shown.empty() ? std::string() : quoted(shown);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "1" : "0";
    }
    if (const auto* date = std::get_if<DateTime>(&value)) {
        const CivilTime t = toCivilTime(*date);
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "\"%04d-%02d-%02d %02d:%02d:%02d\"", t.year, t.month,
                      t.day, t.hour, t.minute, t.second);
        return buffer;
    }
    if (std::holds_alternative<Currency>(value)) {
        std::string text = toText(value);
        const auto dot = text.find('.');
        const std::size_t decimals = dot == std::string::npos ? 0 : text.size() - dot - 1;
        return (dot == std::string::npos ? text + "." : text) + std::string(4 - decimals, '0');
    }
    if (const auto* bytes = std::get_if<Bytes>(&value)) {
        return bytes->empty() ? std::string() : quoted(toText(value));
    }
    return toText(value);
}

void compareTable(const Database& database, const std::filesystem::path& file,
                  const std::string& name, bool sortRows) {
    SCOPED_TRACE(name);
    const Table table = database.table(name);
    const auto& columns = table.definition().columns;
    auto expected = parseCsv(mdbExport(file, name));
    ASSERT_FALSE(expected.empty()) << "mdb-export printed nothing";
    std::vector<std::string> header;
    for (const Column& column : columns) {
        header.push_back(column.name);
    }
    EXPECT_EQ(expected.front(), header);
    expected.erase(expected.begin());

    std::vector<std::vector<std::string>> actual;
    table.scan([&](const RowView& row) {
        actual.emplace_back();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            actual.back().push_back(asMdbExport(row.value(i)));
        }
        return ScanControl::Continue;
    });
    ASSERT_EQ(actual.size(), expected.size());
    for (auto* rows : {&expected, &actual}) {
        for (auto& row : *rows) {
            for (std::size_t i = 0; i < columns.size() && i < row.size(); ++i) {
                if (!comparable(columns[i].type)) {
                    row[i] = "(not compared)";
                }
            }
        }
    }
    if (sortRows) {
        std::sort(expected.begin(), expected.end());
        std::sort(actual.begin(), actual.end());
    }
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "row " << i;
    }
}

// Compares every table of one fixture, system tables included; returns how many it compared.
std::size_t compareFixture(const std::string& name) {
    SCOPED_TRACE(name);
    const auto copy = TemporaryFile::copyOfFixture(name);
    const Database database = Database::open(copy.path(), "password");
    std::size_t tables = 0;
    for (const std::string& table : database.tableNames(true)) {
        // mdb-export reads moved rows where they are stored, this reader where their overflow
        // pointers stand: same rows, different order. Such rows are found in the overflow
        // fixture and in system tables.
        const bool sortRows = name == "overflowTestV2000.mdb" || table.starts_with("MSys");
        compareTable(database, copy.path(), table, sortRows);
        ++tables;
    }
    return tables;
}

TEST(MdbExportComparison, EveryJet4FixtureReadsLikeMdbExport) {
    if (!haveMdbExport()) {
        GTEST_SKIP() << "mdbtools (mdb-export) is not installed";
    }
    std::size_t tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::fixtureFolder())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".mdb" && !name.starts_with("V1997")) {
            tables += compareFixture(name);
        }
    }
    EXPECT_GE(tables, 80U);
}

TEST(MdbExportComparison, ChineseFileReadsLikeMdbExport) {
    NORVESSA_REQUIRE_UNLICENSED_FIXTURE(testing::kUnlicensedChineseFixture);
    if (!haveMdbExport()) {
        GTEST_SKIP() << "mdbtools (mdb-export) is not installed";
    }
    EXPECT_GE(compareFixture(testing::kUnlicensedChineseFixture), 4U);
}

}  // namespace
}  // namespace norvessa::jet
