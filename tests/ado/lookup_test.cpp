// Lookups the way the main window runs them, on database files our writer produced: the same
// Connection and Recordset objects opened and closed again for every lookup.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ado/ado_error.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/jet/database.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/value.h"
#include "platform/jet/writer.h"
#include "scoped_drive_c.h"

namespace norvessa::ado {
namespace {

constexpr const char* kDataSource = "C:\\Program Files\\zuzivive.ss";
constexpr const char* kPassword = "58203746";

using Row = std::vector<std::string>;

std::string connectionString(const std::string& password) {
    return std::string("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + kDataSource +
           ";persist security info=false; jet oledb:database password=" + password + " ; ";
}

// The statement the lookup sends; an apostrophe in the key is doubled first.
std::string lookupStatement(const std::string& modelKey) {
    std::string quoted;
    for (char c : modelKey) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return "select * from velthorn42 where FLASH型号 ='" + quoted + " '";
}

jet::NewDatabase lookupDatabase() {
    jet::NewTable table;
    table.name = "velthorn42";
    table.columns = {{.name = "id", .type = jet::ColumnType::Long, .autoNumber = true},
                     {.name = "FLASH型号"},
                     {.name = "品牌"},
                     {.name = "备注"},
                     {.name = "慧荣"}};
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true}};
    const auto row = [](std::int32_t id, const char* model, const char* maker, jet::Value remark,
                        const char* chip) {
        return std::vector<jet::Value>{id, std::string(model), std::string(maker),
                                       std::move(remark), std::string(chip)};
    };
    table.rows = {
        row(10, "K9HCG08U5M", "Samsung 三星", std::string(), "SM3257AA"),
        row(11, "MT29F64G08", "Micron 美光", std::string(), ""),
        row(57, "K9HCG08U5M", "Samsung 三星", std::string("四管芯封装，仅CE1和CE2可用"), "SM325AC"),
        row(58, "MT29F64G08CBAAA", "Micron 美光", std::string(), ""),
        row(59, "O'BRIEN", "", jet::Value(), ""),
        row(60, "K9HCG08U5M", "Samsung 三星", std::string(), "\r\nSM3257AA"),
        row(61, " LEADING", "", std::string(), ""),
        row(62, "TRAILING  ", "", std::string(), ""),
    };
    jet::NewDatabase database;
    database.password = kPassword;
    database.creationDate = 41718.0;
    database.tables.push_back(std::move(table));
    return database;
}

std::string failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const AdoError& error) {
        return error.what();
    }
    return "no error";
}

class Lookup : public ::testing::Test {
  protected:
    void SetUp() override {
        file_ = ScopedDriveC::put(kDataSource, jet::writeDatabase(lookupDatabase()));
    }

    // Opens the connection, runs the statement, reads every field of every record as text, and
    // closes both objects again, as one lookup of the main window does.
    std::vector<Row> lookUp(const std::string& statement) {
        connection_.Open(connectionString(kPassword), "", "", adConnectUnspecified);
        recordset_.CursorLocation(adUseClient);
        recordset_.Open(statement, connection_, adOpenStatic, adLockOptimistic, adCmdUnspecified);
        std::vector<Row> rows;
        while (!recordset_.EndOfFile()) {
            Row& row = rows.emplace_back();
            for (std::int16_t ordinal = 0; ordinal < 5; ++ordinal) {
                row.push_back(jet::toText(recordset_.Fields().Item(ordinal).Value()));
            }
            recordset_.MoveNext();
        }
        recordset_.Close();
        connection_.Close();
        return rows;
    }

    ScopedDriveC driveC_;
    std::filesystem::path file_;
    Connection connection_;
    Recordset recordset_;
};

TEST_F(Lookup, FindsEveryRowOfTheModelInStorageOrderWithTheSameObjects) {
    const std::vector<Row> k9 = {
        {"10", "K9HCG08U5M", "Samsung 三星", "", "SM3257AA"},
        {"57", "K9HCG08U5M", "Samsung 三星", "四管芯封装，仅CE1和CE2可用", "SM325AC"},
        {"60", "K9HCG08U5M", "Samsung 三星", "", "\r\nSM3257AA"},
    };
    EXPECT_EQ(lookUp(lookupStatement("K9HCG08U5M")), k9);
    // A model is matched whole, never as a prefix.
    EXPECT_EQ(lookUp(lookupStatement("MT29F64G08")),
              (std::vector<Row>{{"11", "MT29F64G08", "Micron 美光", "", ""}}));
    // Letter case does not count, nor does a trailing blank on either side; a leading one does.
    EXPECT_EQ(lookUp("SELECT * FROM VELTHORN42 WHERE [flash型号] = 'k9hcg08u5m'"), k9);
    EXPECT_EQ(lookUp(lookupStatement(" LEADING")).size(), 1u);
    EXPECT_TRUE(lookUp(lookupStatement("LEADING")).empty());
    EXPECT_EQ(lookUp(lookupStatement("trailing")),
              (std::vector<Row>{{"62", "TRAILING  ", "", "", ""}}));
    // An apostrophe in the model, and a Null field read as the empty text.
    EXPECT_EQ(lookUp(lookupStatement("O'BRIEN")),
              (std::vector<Row>{{"59", "O'BRIEN", "", "", ""}}));
}

TEST_F(Lookup, NoMatchStandsAtTheEndRightAfterOpen) {
    for (const std::string key : {"NOSUCHMODEL", "", "K9HCG08U5"}) {
        SCOPED_TRACE(key);
        connection_.Open(connectionString(kPassword), "", "", adConnectUnspecified);
        recordset_.CursorLocation(adUseClient);
        recordset_.Open(lookupStatement(key), connection_, adOpenStatic, adLockOptimistic,
                        adCmdUnspecified);
        EXPECT_TRUE(recordset_.EndOfFile());
        EXPECT_EQ(failure([&] { recordset_.Fields().Item(0); }),
                  "Fields.Item: there is no current record; the record set is at its end");
        recordset_.Close();
        connection_.Close();
    }
}

TEST_F(Lookup, StatementsItCannotRunFailAndLeaveTheRecordSetClosed) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"select * from velthorn43 where FLASH型号 ='X '", "the database has no table velthorn43"},
        {"select * from velthorn42 where FLASH型 ='X '",
         "the table velthorn42 has no column FLASH型"},
        {"select * from velthorn42 where id ='57'",
         "the column id is not a text column and cannot be compared with text"},
        // A key with an apostrophe that nobody doubled ends the text early.
        {"select * from velthorn42 where FLASH型号 ='O'BRIEN '",
         "syntax error at character 50: the text that begins here has no closing apostrophe"},
        {"select * from velthorn42 where FLASH型号 like 'K9%5'",
         "not supported at character 45: the LIKE pattern 'K9%5'; only a text followed by one * "
         "or % is supported"},
    };
    connection_.Open(connectionString(kPassword), "", "", adConnectUnspecified);
    recordset_.CursorLocation(adUseClient);
    for (const auto& [statement, reason] : cases) {
        EXPECT_EQ(failure([&] {
                      recordset_.Open(statement, connection_, adOpenStatic, adLockOptimistic,
                                      adCmdUnspecified);
                  }),
                  "cannot run the statement \"" + statement + "\": " + reason);
        EXPECT_EQ(failure([&] { recordset_.Close(); }),
                  "Recordset.Close: the record set is not open");
    }
    connection_.Close();
    EXPECT_EQ(lookUp(lookupStatement("MT29F64G08")).size(), 1u);
}

// LIKE with a prefix lists the rows whose text begins so, letter case ignored.
TEST_F(Lookup, PrefixStatementsFindTheRowsThatBeginSo) {
    EXPECT_EQ(lookUp("select * from velthorn42 where FLASH型号 like 'mt29f64g08*'").size(), 2u);
    EXPECT_EQ(lookUp("select * from velthorn42 where FLASH型号 like 'K9%'").size(), 3u);
    EXPECT_EQ(lookUp("select * from velthorn42 where FLASH型号 like 'O''B*'").size(), 1u);
}

TEST_F(Lookup, WrongPasswordOrMissingFileNamesTheFile) {
    EXPECT_EQ(failure([&] {
                  connection_.Open(connectionString("12345678"), "", "", adConnectUnspecified);
              }),
              std::string("cannot open the database ") + kDataSource + " (" + file_.string() +
                  "): wrong database password");
    std::filesystem::remove(file_);
    EXPECT_EQ(failure([&] {
                  connection_.Open(connectionString(kPassword), "", "", adConnectUnspecified);
              }),
              std::string("cannot open the database ") + kDataSource + " (" + file_.string() +
                  "): the file does not exist");
}

// The program's own database records exact row counts and writes every column definition as
// Jet does: a count that differs means a live row is flagged deleted, a flag Jet does not
// write means damage, and the lookup refuses the file instead of leaving rows out or warning.
TEST_F(Lookup, FactsTheProgramKeepsExactThatDifferMeanTheDatabaseIsDamaged) {
    namespace t = jet::layout::tdef;
    const std::vector<std::uint8_t> intact = jet::writeDatabase(lookupDatabase());
    const std::size_t page = jet::Database::fromBytes(intact, kPassword)
                                 .table("velthorn42")
                                 .definition()
                                 .definitionPage *
                             jet::layout::kPageSize;
    std::vector<std::uint8_t> recount = intact;
    recount[page + t::kRowCount.offset] = 9;
    // The second column's flags, behind the per-index counts and the first descriptor.
    std::vector<std::uint8_t> flagged = intact;
    flagged[page + t::kHeaderBlockEnd +
            intact[page + t::kRealIndexCount.offset] * t::real_index_count::kSize +
            t::column::kSize + t::column::kFlags.offset] |= 0x08;
    for (const auto& [image, message] :
         {std::pair{recount, std::string("the file is damaged: table \"velthorn42\" has 8 rows, "
                                         "but its definition records 9")},
          std::pair{flagged, std::string("hold bits Jet does not write")}}) {
        ScopedDriveC::put(kDataSource, image);
        try {
            lookUp(lookupStatement("K9HCG08U5M"));
            ADD_FAILURE() << "a damaged database was read: " << message;
        } catch (const AdoError& error) {
            EXPECT_EQ(error.cause(), AdoErrorCause::Engine);
            EXPECT_EQ(error.engineKind(), jet::ErrorKind::Corrupt);
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
        if (connection_.State() == adStateOpen) {
            connection_.Close();
        }
    }
}

}  // namespace
}  // namespace norvessa::ado
