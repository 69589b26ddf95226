// Requests the writer cannot write exactly are refused with an error that says where.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/jet/errors.h"
#include "platform/jet/writer.h"
#include "tests/jet_writer/writer_test_support.h"

namespace norvessa::jet {
namespace {

// The lookup table's shape with its real names: the index "ID号1" covers the column "ID号".
NewTable lookupTable() {
    NewTable table;
    table.name = "velthorn42";
    table.columns = {{.name = "id", .type = ColumnType::Long, .autoNumber = true},
                     {.name = "FLASH\xE5\x9E\x8B\xE5\x8F\xB7", .type = ColumnType::Text},
                     {.name = "ID\xE5\x8F\xB7", .type = ColumnType::Text}};
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true},
                     {.name = "ID\xE5\x8F\xB7"
                              "1",
                      .columns = {"ID\xE5\x8F\xB7"}}};
    for (std::int32_t id = 1; id <= 4; ++id) {
        table.rows.push_back({id, std::string("K9HCG08U5M"), std::string("EC D3 14 A5")});
    }
    return table;
}

JetError writeError(const NewDatabase& request) {
    try {
        writeDatabase(request);
    } catch (const JetError& error) {
        return error;
    }
    ADD_FAILURE() << "the request was written";
    return JetError(ErrorKind::Io, "");
}

TEST(WriterRefusal, IndexedTextWithoutAKeyEncodingNamesTableColumnRowAndCharacter) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"EC D3 14 A\xC3\xA9", "U+00E9"},        // é
        {"\xE4\xB8\x89\xE6\x98\x9F", "U+4E09"},  // 三
        {"EC-D3", "U+002D"},                     // the hyphen has no simple code
        {"it's", "U+0027"},
        {"EC D3\r\n", "U+000D"},
        {"EC\tD3", "U+0009"},
    };
    for (const auto& [value, character] : cases) {
        NewTable table = lookupTable();
        table.rows[2][2] = value;
        const JetError error = writeError(testing::databaseWith(table));
        const std::string message = error.what();
        EXPECT_EQ(error.kind(), ErrorKind::Unsupported) << message;
        for (const std::string& part :
             {std::string("table velthorn42"), std::string("column ID\xE5\x8F\xB7"),
              std::string("row 3"), character, std::string("2052")}) {
            EXPECT_NE(message.find(part), std::string::npos) << message << " lacks " << part;
        }
    }
}

TEST(WriterRefusal, TheSameCharactersAreFineWhereNoIndexNeedsAKey) {
    NewTable table = lookupTable();
    table.rows[0][1] = std::string("UP10-CC it's \xE4\xB8\x89\r\n\t\xC3\xA9");
    table.rows[1][2] = std::string("EC D3 14 A5   ");  // trailing blanks are not part of a key
    table.rows[2][2] = Value{};                        // nor is anything in a Null
    EXPECT_NO_THROW(writeDatabase(testing::databaseWith(table)));
}

TEST(WriterRefusal, UniqueAndRequiredIndexesHoldTheirRules) {
    NewTable duplicate = lookupTable();
    duplicate.rows[3][0] = std::int32_t{2};
    JetError error = writeError(testing::databaseWith(duplicate));
    EXPECT_EQ(error.kind(), ErrorKind::InvalidArgument);
    EXPECT_NE(std::string(error.what()).find("PrimaryKey"), std::string::npos) << error.what();

    NewTable nullKey;
    nullKey.name = "keys";
    nullKey.columns = {{.name = "k", .type = ColumnType::Long},
                       {.name = "u", .type = ColumnType::Long}};
    nullKey.indexes = {{.name = "PrimaryKey", .columns = {"k"}, .unique = true, .primaryKey = true},
                       {.name = "u", .columns = {"u"}, .unique = true}};
    nullKey.rows = {{std::int32_t{1}, Value{}}, {std::int32_t{2}, Value{}}};
    EXPECT_NO_THROW(writeDatabase(testing::databaseWith(nullKey)));  // Nulls never collide
    nullKey.rows.push_back({Value{}, std::int32_t{5}});
    error = writeError(testing::databaseWith(nullKey));
    EXPECT_EQ(error.kind(), ErrorKind::InvalidArgument);
    EXPECT_NE(std::string(error.what()).find("requires a value"), std::string::npos);
}

struct BadRequest {
    std::string description;
    std::function<void(NewDatabase&)> spoil;
    ErrorKind kind;
    std::string mentions;
};

TEST(WriterRefusal, RequestsThatCannotBeWrittenExactlyAreRefused) {
    const auto table = [](NewDatabase& request) -> NewTable& { return request.tables.front(); };
    const std::vector<BadRequest> cases{
        {"a password of 21 characters", [](NewDatabase& r) { r.password = std::string(21, '1'); },
         ErrorKind::InvalidArgument, "password"},
        {"text that is not UTF-8",
         [&](NewDatabase& r) { table(r).rows[1][1] = std::string("\xFF"); },
         ErrorKind::InvalidArgument, "row 2"},
        {"text longer than its column",
         [&](NewDatabase& r) { table(r).rows[0][1] = std::string(51, 'x'); },
         ErrorKind::InvalidArgument, "column FLASH"},
        {"a value of another type", [&](NewDatabase& r) { table(r).rows[0][1] = std::int32_t{5}; },
         ErrorKind::InvalidArgument, "row 1"},
        {"a row longer than a page",
         [&](NewDatabase& r) {
             std::string wide;
             for (int k = 0; k < 255; ++k) {
                 wide += "\xE4\xB8\x89";  // 510 bytes stored
             }
             for (int i = 0; i < 9; ++i) {
                 table(r).columns.push_back({.name = "long" + std::to_string(i),
                                             .type = ColumnType::Text,
                                             .maxCharacters = 255});
                 for (auto& row : table(r).rows) {
                     row.push_back(&row == &table(r).rows.front() ? wide : std::string());
                 }
             }
         },
         ErrorKind::InvalidArgument, "row 1"},
        {"a GUID column",
         [&](NewDatabase& r) {
             table(r).columns.push_back({.name = "g", .type = ColumnType::Guid});
         },
         ErrorKind::Unsupported, "table velthorn42"},
        {"an index on a double column",
         [&](NewDatabase& r) {
             table(r).columns.push_back({.name = "d", .type = ColumnType::Double});
             for (auto& row : table(r).rows) {
                 row.push_back(1.0);
             }
             table(r).indexes.push_back({.name = "byD", .columns = {"d"}});
         },
         ErrorKind::Unsupported, "byD"},
        {"an index on a column that does not exist",
         [&](NewDatabase& r) { table(r).indexes.push_back({.name = "x", .columns = {"nope"}}); },
         ErrorKind::NotFound, "nope"},
        {"two columns whose names differ only in case",
         [&](NewDatabase& r) {
             table(r).columns.push_back({.name = "ID", .type = ColumnType::Long});
             for (auto& row : table(r).rows) {
                 row.push_back(std::int32_t{0});
             }
         },
         ErrorKind::InvalidArgument, "two columns"},
        {"an auto-number counter below a number in use",
         [&](NewDatabase& r) { table(r).autoNumberLast = 3; }, ErrorKind::InvalidArgument,
         "counter"},
        {"a system table's name", [&](NewDatabase& r) { table(r).name = "msysobjects"; },
         ErrorKind::InvalidArgument, "system table"},
        {"a table name the catalog index cannot key",
         [&](NewDatabase& r) { table(r).name = "\xE8\xA1\xA8"; }, ErrorKind::Unsupported, "U+8868"},
        {"a text index under a sort order without known codes",
         [](NewDatabase& r) { r.sortOrder = 1041; }, ErrorKind::Unsupported, "1041"},
    };
    for (const BadRequest& bad : cases) {
        NewDatabase request = testing::databaseWith(lookupTable());
        bad.spoil(request);
        const JetError error = writeError(request);
        EXPECT_EQ(error.kind(), bad.kind) << bad.description << ": " << error.what();
        EXPECT_NE(std::string(error.what()).find(bad.mentions), std::string::npos)
            << bad.description << ": " << error.what();
    }
}

}  // namespace
}  // namespace norvessa::jet
