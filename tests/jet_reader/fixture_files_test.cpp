// The reader on database files written by Access and the Jet engine (temporary copies).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "fixture_support.h"
#include "platform/jet/database.h"
#include "platform/jet/errors.h"
#include "platform/jet/header_page.h"
#include "platform/jet/layout.h"
#include "platform/jet/rc4.h"

namespace norvessa::jet {
namespace {

using testing::TemporaryFile;

// Every row of a table as text, cells joined by "|".
std::vector<std::string> rowsOf(const Table& table) {
    std::vector<std::string> rows;
    table.scan([&](const RowView& row) {
        std::string line;
        for (std::size_t i = 0; i < table.definition().columns.size(); ++i) {
            line += (i == 0 ? "" : "|") + toText(row.value(i));
        }
        rows.push_back(line);
        return ScanControl::Continue;
    });
    return rows;
}

ErrorKind kindOfOpening(const std::filesystem::path& path, std::string_view password) {
    try {
        Database::open(path, password);
    } catch (const JetError& error) {
        return error.kind();
    }
    ADD_FAILURE() << path << " opened";
    return ErrorKind::Io;
}

const std::vector<std::string> kOneTwoThree{"1|One", "2|Two", "3|Three"};

TEST(FixtureFiles, PasswordProtectedFilesOpenOnlyWithTheirPassword) {
    for (const char* name : {"V2000_with-password.mdb", "V2003_with-password.mdb"}) {
        SCOPED_TRACE(name);
        const auto copy = TemporaryFile::copyOfFixture(name);
        const Database database = Database::open(copy.path(), "password");
        EXPECT_EQ(database.header().password, "password");
        EXPECT_EQ(rowsOf(database.table("Table1")), kOneTwoThree);
        EXPECT_EQ(kindOfOpening(copy.path(), "Password"), ErrorKind::WrongPassword);
        EXPECT_EQ(kindOfOpening(copy.path(), ""), ErrorKind::WrongPassword);
        EXPECT_EQ(kindOfOpening(copy.path(), "password "), ErrorKind::WrongPassword);
    }
    const auto open = TemporaryFile::copyOfFixture("V2000_no-password.mdb");
    const Database database = Database::open(open.path(), "anything");
    EXPECT_FALSE(database.header().password.has_value());
    EXPECT_EQ(rowsOf(database.table("table1")), kOneTwoThree);
}

TEST(FixtureFiles, Jet3AndAceFilesAreRefusedAsUnsupported) {
    for (const char* name : {"V1997_no-password.mdb", "V2010_with-password.accdb"}) {
        const auto copy = TemporaryFile::copyOfFixture(name);
        try {
            Database::open(copy.path(), "password");
            ADD_FAILURE() << name << " opened";
        } catch (const JetError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::UnsupportedFormat);
            EXPECT_NE(std::string(error.what()).find("unsupported format"), std::string::npos);
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos);
        }
    }
}

TEST(FixtureFiles, CreationDate) {
    const auto dated = TemporaryFile::copyOfFixture("creationDateV2000.mdb");
    const CivilTime created =
        toCivilTime(DateTime{Database::open(dated.path(), "").header().creationDate});
    EXPECT_EQ(std::vector<int>({created.year, created.month, created.day, created.hour,
                                created.minute, created.second}),
              std::vector<int>({2022, 1, 7, 16, 20, 28}));
}

TEST(FixtureFiles, ChineseHeaderFields) {
    NORVESSA_REQUIRE_UNLICENSED_FIXTURE(testing::kUnlicensedChineseFixture);
    const auto chinese = TemporaryFile::copyOfFixture(testing::kUnlicensedChineseFixture);
    const auto header = Database::open(chinese.path(), "").header();
    EXPECT_EQ(header.jetVersion, 1);
    EXPECT_EQ(header.sortOrder, 2052);
    EXPECT_EQ(header.codePage, 936);
}

TEST(FixtureFiles, ChineseFileSchemaRowsAndLookup) {
    NORVESSA_REQUIRE_UNLICENSED_FIXTURE(testing::kUnlicensedChineseFixture);
    const auto copy = TemporaryFile::copyOfFixture(testing::kUnlicensedChineseFixture);
    const Database database = Database::open(copy.path(), "");
    EXPECT_EQ(database.tableNames(), (std::vector<std::string>{"sys_db_fields", "sys_db_ftype",
                                                               "sys_db_template", "sys_db_type"}));
    const Table fields = database.table("SYS_DB_FIELDS");
    const TableDefinition& definition = fields.definition();
    ASSERT_EQ(definition.columns.size(), 10U);
    EXPECT_EQ(definition.columns[1].name, "db_title");
    EXPECT_EQ(definition.columns[1].type, ColumnType::Text);
    EXPECT_EQ(definition.columns[1].length, 100);
    EXPECT_EQ(definition.columns[1].sortOrder, 2052);
    EXPECT_TRUE(definition.columns[1].compressedUnicode);
    EXPECT_TRUE(definition.columns[0].autoNumber);
    const auto primary = std::find_if(definition.indexes.begin(), definition.indexes.end(),
                                      [](const Index& index) { return index.primaryKey; });
    ASSERT_NE(primary, definition.indexes.end());
    EXPECT_EQ(primary->name, "PrimaryKey");
    EXPECT_TRUE(primary->unique);
    ASSERT_EQ(primary->columns.size(), 1U);
    EXPECT_EQ(primary->columns[0].columnNumber, definition.columns[0].number);
    EXPECT_EQ(definition.indexes.size(), 5U);

    std::size_t rows = 0;
    std::vector<std::int32_t> matches;
    const TextKey key("标题  ");
    fields.scan([&](const RowView& row) {
        ++rows;
        if (row.textEquals(1, key)) {
            matches.push_back(std::get<std::int32_t>(row.value(0)));
        }
        EXPECT_FALSE(row.textEquals(0, key));  // a number never equals text
        return ScanControl::Continue;
    });
    EXPECT_EQ(rows, 1703U);
    EXPECT_EQ(matches.size(), 2U);
    EXPECT_NE(std::find(matches.begin(), matches.end(), 7653), matches.end());
    EXPECT_EQ(rowsOf(database.table("sys_db_ftype")),
              (std::vector<std::string>{"1|3|数字", "2|135|时间", "3|202|文本", "4|203|备注"}));
}

TEST(FixtureFiles, MemoValuesAcrossLongValuePages) {
    NORVESSA_REQUIRE_UNLICENSED_FIXTURE(testing::kUnlicensedChineseFixture);
    const auto copy = TemporaryFile::copyOfFixture(testing::kUnlicensedChineseFixture);
    const Table types = Database::open(copy.path(), "").table("sys_db_type");
    std::size_t longest = 0;
    types.scan([&](const RowView& row) {
        for (std::size_t i = 2; i <= 7; ++i) {
            longest = std::max(longest, toText(row.value(i)).size());
        }
        return ScanControl::Continue;
    });
    EXPECT_GT(longest, 64U);  // longer than any inline memo
}

TEST(FixtureFiles, DeletedRowsAreSkippedAndOverflowRowsFollowed) {
    const auto deleted = TemporaryFile::copyOfFixture("delTestV2000.mdb");
    EXPECT_EQ(rowsOf(Database::open(deleted.path(), "").table("Table")),
              (std::vector<std::string>{"z|y", "v|u"}));

    // Rows 3 and 5 were moved to other pages; they are read where their pointers stand.
    const auto overflow = TemporaryFile::copyOfFixture("overflowTestV2000.mdb");
    std::vector<std::string> firstCells;
    const Table table = Database::open(overflow.path(), "").table("Table1");
    table.scan([&](const RowView& row) {
        const std::string first = toText(row.value(0)) + toText(row.value(1));
        firstCells.push_back(first.substr(0, 4));
        return ScanControl::Continue;
    });
    EXPECT_EQ(firstCells,
              (std::vector<std::string>{"row1", "row2", "row3", "row4", "row5", "row6", "row7"}));
}

TEST(FixtureFiles, DeletedColumnLeavesAGapInColumnNumbers) {
    const auto copy = TemporaryFile::copyOfFixture("delColTestV2000.mdb");
    const Table table = Database::open(copy.path(), "").table("Table1");
    std::vector<std::uint16_t> numbers;
    for (const Column& column : table.definition().columns) {
        numbers.push_back(column.number);
    }
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    EXPECT_GT(numbers.back(), numbers.size() - 1);
    EXPECT_EQ(rowsOf(table), (std::vector<std::string>{"0|2|foo|foo2", "3|5|bar|bar2"}));
}

TEST(FixtureFiles, TablesByNameScanStopAndMissingTables) {
    const auto copy = TemporaryFile::copyOfFixture("indexTestV2000.mdb");
    const Database database = Database::open(copy.path(), "");
    EXPECT_EQ(database.tableNames(), (std::vector<std::string>{"Table1", "Table2", "Table3"}));
    const auto all = database.tableNames(true);
    EXPECT_NE(std::find(all.begin(), all.end(), "MSysObjects"), all.end());
    try {
        database.table("Table4");
        ADD_FAILURE() << "found Table4";
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::NotFound);
        EXPECT_NE(std::string(error.what()).find("Table4"), std::string::npos);
    }
    std::size_t visited = 0;
    database.table("tAbLe1").scan([&](const RowView&) {
        ++visited;
        return visited == 2 ? ScanControl::Stop : ScanControl::Continue;
    });
    EXPECT_EQ(visited, 2U);
}

TEST(FixtureFiles, MemoryImageReadsLikeTheFile) {
    const auto copy = TemporaryFile::copyOfFixture("V2003_with-password.mdb");
    const Database database = Database::fromBytes(copy.bytes(), "password", "embedded");
    EXPECT_EQ(rowsOf(database.table("Table1")), kOneTwoThree);
    try {
        Database::fromBytes(copy.bytes(), "wrong", "embedded");
        ADD_FAILURE() << "wrong password accepted";
    } catch (const JetError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("embedded: ", 0), 0U);
    }
}

TEST(FixtureFiles, PageEncryptedDatabaseIsDecrypted) {
    // Encrypt a copy the way Jet does: a key in the header, every later page RC4-encrypted
    // with the key XOR its page number.
    auto bytes = TemporaryFile::copyOfFixture("V2000_no-password.mdb").bytes();
    const std::uint32_t databaseKey = 0x5A17C0DE;
    std::span<std::uint8_t> header(bytes.data(), layout::kPageSize);
    toggleHeaderMask(header);
    std::memcpy(bytes.data() + layout::header::kDatabaseKey.offset, &databaseKey, 4);
    toggleHeaderMask(header);
    for (std::size_t page = 1; page < bytes.size() / layout::kPageSize; ++page) {
        const std::uint32_t pageKey = databaseKey ^ static_cast<std::uint32_t>(page);
        std::uint8_t key[4];
        std::memcpy(key, &pageKey, 4);
        rc4Apply(key, std::span(bytes).subspan(page * layout::kPageSize, layout::kPageSize));
    }
    const auto encrypted = TemporaryFile::withBytes("encrypted.mdb", bytes);
    EXPECT_EQ(rowsOf(Database::open(encrypted.path(), "").table("Table1")), kOneTwoThree);
}

}  // namespace
}  // namespace norvessa::jet
