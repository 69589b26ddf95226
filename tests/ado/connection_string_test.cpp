#include "platform/ado/connection_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ado/ado_error.h"

namespace norvessa::ado {
namespace {

// The string the lookup builds: mixed key case, a blank before the password key, and
// " ; " after the password, which leaves an empty last pair.
constexpr const char* kLookupString =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Program Files\\zuzivive.ss;persist "
    "security info=false; jet oledb:database password=58203746 ; ";

std::string refusal(const std::string& text) {
    try {
        readJetConnectionString(text);
    } catch (const AdoError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(ConnectionString, SplitsTheLookupStringIntoTrimmedPairs) {
    const std::vector<ConnectionStringPair> expected = {
        {"Provider", "Microsoft.Jet.OLEDB.4.0"},
        {"Data Source", "C:\\Program Files\\zuzivive.ss"},
        {"persist security info", "false"},
        {"jet oledb:database password", "58203746"},
    };
    EXPECT_EQ(splitConnectionString(kLookupString), expected);

    const JetConnectionSettings settings = readJetConnectionString(kLookupString);
    EXPECT_EQ(settings.dataSource, "C:\\Program Files\\zuzivive.ss");
    EXPECT_EQ(settings.databasePassword, "58203746");
}

TEST(ConnectionString, KeysInAnyCaseValuesKeptAsWritten) {
    const JetConnectionSettings settings = readJetConnectionString(
        "  PROVIDER = microsoft.jet.oledb.4.0 ;DATA SOURCE=C:\\a b\\x=y.mdb;"
        "Jet OLEDB:Database Password= p=ss word ");
    EXPECT_EQ(settings.dataSource, "C:\\a b\\x=y.mdb");
    EXPECT_EQ(settings.databasePassword, "p=ss word");

    // Without a password key, or with an empty value, the database password is empty.
    EXPECT_EQ(readJetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\d.mdb")
                  .databasePassword,
              "");
    EXPECT_EQ(readJetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\d.mdb;"
                                      "Jet OLEDB:Database Password=;")
                  .databasePassword,
              "");
}

TEST(ConnectionString, RefusesWhatItCannotHonour) {
    const std::string jet = "Provider=Microsoft.Jet.OLEDB.4.0;";
    const std::string file = "Data Source=C:\\d.mdb;";
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "connection string: no Provider; it must be Microsoft.Jet.OLEDB.4.0"},
        {file, "connection string: no Provider; it must be Microsoft.Jet.OLEDB.4.0"},
        {"Provider=Microsoft.ACE.OLEDB.12.0;" + file,
         "connection string: the provider Microsoft.ACE.OLEDB.12.0 is not supported; only "
         "Microsoft.Jet.OLEDB.4.0 is"},
        {jet, "connection string: no Data Source; it must name the database file"},
        {jet + "Data Source= ;",
         "connection string: no Data Source; it must name the database file"},
        {jet + ";" + file, "connection string: pair 2 is empty"},
        {jet + "Data Source;", "connection string: pair 2 has no \"=\""},
        {jet + " =x;" + file, "connection string: pair 2 has no key before \"=\""},
        {jet + file + "data source=C:\\e.mdb",
         "connection string: the key data source is given twice"},
        {jet + file + "User ID=Admin", "connection string: the key User ID is not supported"},
        {jet + file + "Persist Security Info=maybe",
         "connection string: Persist Security Info must be True or False, not maybe"},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.text);
        EXPECT_EQ(refusal(refused.text), refused.message);
    }
    // The password never appears in a message.
    EXPECT_EQ(refusal(jet + file +
                      "Jet OLEDB:Database Password=secret;Jet OLEDB:Database "
                      "Password=secret"),
              "connection string: the key Jet OLEDB:Database Password is given twice");
}

}  // namespace
}  // namespace norvessa::ado
