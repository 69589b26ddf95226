// The Connection and Recordset objects' states and the errors for misusing them, and a lookup in
// a database file that Microsoft Access wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ado/ado_error.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/jet/value.h"
#include "scoped_drive_c.h"

namespace norvessa::ado {
namespace {

std::string failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const AdoError& error) {
        return error.what();
    }
    return "no error";
}

std::string jetString(const std::string& dataSource, const std::string& password) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dataSource +
           ";persist security info=false; jet oledb:database password=" + password + " ; ";
}

TEST(Facade, NewObjectsAreClosedAndRefuseWhatNeedsThemOpen) {
    Connection connection;
    Recordset recordset;
    EXPECT_EQ(recordset.CursorLocation(), adUseServer);

    EXPECT_EQ(failure([&] { connection.Close(); }), "Connection.Close: the connection is not open");
    EXPECT_EQ(failure([&] { recordset.Close(); }), "Recordset.Close: the record set is not open");
    EXPECT_EQ(failure([&] { recordset.EndOfFile(); }), "Recordset.EOF: the record set is not open");
    EXPECT_EQ(failure([&] { recordset.MoveNext(); }),
              "Recordset.MoveNext: the record set is not open");
    EXPECT_EQ(failure([&] { recordset.Fields().Item(0); }),
              "Fields.Item: the record set is not open");

    const std::string statement = "select * from t where c = 'x'";
    EXPECT_EQ(failure([&] {
                  recordset.Open(statement, connection, adOpenStatic, adLockOptimistic,
                                 adCmdUnspecified);
              }),
              "Recordset.Open: only client-side cursors are supported; set CursorLocation to "
              "adUseClient first");
    recordset.CursorLocation(adUseClient);
    EXPECT_EQ(recordset.CursorLocation(), adUseClient);
    EXPECT_EQ(failure([&] {
                  recordset.Open(statement, connection, adOpenStatic, adLockOptimistic,
                                 adCmdUnspecified);
              }),
              "Recordset.Open: the connection is not open");
}

class FacadeWithFiles : public ::testing::Test {
  protected:
    ScopedDriveC driveC_;
};

TEST_F(FacadeWithFiles, ConnectionOpenNamesTheFileItCannotOpen) {
    Connection connection;
    const std::filesystem::path missing = platform::hostPath("C:\\Program Files\\zuzivive.ss");
    EXPECT_EQ(failure([&] {
                  connection.Open(jetString("C:\\Program Files\\zuzivive.ss", "1"), "", "",
                                  adConnectUnspecified);
              }),
              "cannot open the database C:\\Program Files\\zuzivive.ss (" + missing.string() +
                  "): the file does not exist");

    const std::filesystem::path notADatabase =
        ScopedDriveC::put("C:\\notes.txt", std::vector<std::uint8_t>(5000, 'x'));
    const std::string message = failure(
        [&] { connection.Open(jetString("C:\\notes.txt", ""), "", "", adConnectUnspecified); });
    EXPECT_EQ(message.rfind(
                  "cannot open the database C:\\notes.txt (" + notADatabase.string() + "): ", 0),
              0u)
        << message;

    EXPECT_EQ(failure([&] {
                  connection.Open(jetString("D:\\data.mdb", ""), "", "", adConnectUnspecified);
              }).rfind("cannot open the database D:\\data.mdb: ", 0),
              0u);
    EXPECT_EQ(failure([&] {
                  connection.Open("Provider=SQLOLEDB;Data Source=C:\\x", "", "",
                                  adConnectUnspecified);
              }),
              "connection string: the provider SQLOLEDB is not supported; only "
              "Microsoft.Jet.OLEDB.4.0 is");
    EXPECT_EQ(failure([&] {
                  connection.Open(jetString("C:\\notes.txt", ""), "Admin", "",
                                  adConnectUnspecified);
              }).rfind("Connection.Open: a user name and password", 0),
              0u);
    // None of the failures left the connection open.
    EXPECT_EQ(failure([&] { connection.Close(); }), "Connection.Close: the connection is not open");
}

// A database file written by Microsoft Access 2000 with the database password "password": Table1
// holds (1, "One"), (2, "Two"), (3, "Three") in the columns ID (long) and Data (text).
class AccessFile : public FacadeWithFiles {
  protected:
    void SetUp() override {
        std::ifstream in(std::filesystem::path(NORVESSA_SOURCE_DIR) /
                             "tests/fixtures/jet/V2000_with-password.mdb",
                         std::ios::binary);
        file_ = ScopedDriveC::put(
            kDataSource, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    }

    static constexpr const char* kDataSource = "C:\\Program Files\\access.mdb";
    std::filesystem::path file_;
};

TEST_F(AccessFile, LooksUpOneRowAndWalksToTheEnd) {
    Connection connection;
    Recordset recordset;
    connection.Open(jetString(kDataSource, "password"), "", "", adConnectUnspecified);
    recordset.CursorLocation(adUseClient);
    recordset.Open("select * from table1 where [data] ='two '", connection, adOpenStatic,
                   adLockOptimistic, adCmdUnspecified);

    ASSERT_FALSE(recordset.EndOfFile());
    EXPECT_EQ(jet::toText(recordset.Fields().Item(0).Value()), "2");
    EXPECT_EQ(jet::toText(recordset.Fields().Item(1).Value()), "Two");
    const Field kept = recordset.Fields().Item(1);
    EXPECT_EQ(failure([&] { recordset.Fields().Item(2); }),
              "Fields.Item: no field with ordinal 2; the record set has 2 fields");
    EXPECT_EQ(failure([&] { recordset.Fields().Item(-1); }),
              "Fields.Item: no field with ordinal -1; the record set has 2 fields");
    EXPECT_EQ(failure([&] { recordset.CursorLocation(adUseServer); }),
              "Recordset.CursorLocation: cannot be changed while the record set is open");
    EXPECT_EQ(failure([&] {
                  recordset.Open("select * from table1 where data = 'One'", connection,
                                 adOpenStatic, adLockOptimistic, adCmdUnspecified);
              }),
              "Recordset.Open: the record set is already open");
    EXPECT_EQ(failure([&] {
                  connection.Open(jetString(kDataSource, "password"), "", "", adConnectUnspecified);
              }),
              "Connection.Open: the connection is already open");

    recordset.MoveNext();
    EXPECT_TRUE(recordset.EndOfFile());
    EXPECT_EQ(jet::toText(kept.Value()), "Two") << "a field keeps its value after MoveNext";
    EXPECT_EQ(failure([&] { recordset.Fields().Item(0); }),
              "Fields.Item: there is no current record; the record set is at its end");
    EXPECT_EQ(failure([&] { recordset.MoveNext(); }),
              "Recordset.MoveNext: the record set is already past its last record");
    recordset.Close();
    connection.Close();
}

TEST_F(AccessFile, WrongOrMissingPasswordNamesTheFile) {
    Connection connection;
    for (const std::string password : {"Password", "", "58203746"}) {
        EXPECT_EQ(failure([&] {
                      connection.Open(jetString(kDataSource, password), "", "",
                                      adConnectUnspecified);
                  }),
                  std::string("cannot open the database ") + kDataSource + " (" + file_.string() +
                      "): wrong database password")
            << password;
    }
}

}  // namespace
}  // namespace norvessa::ado
