// Runs of the real norvessa-query program: exit status, standard output and standard error.

#include <gtest/gtest.h>

#include "format_read_back.h"
#include "lookup_database_fixture.h"
#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"
#include "process_run.h"

namespace norvessa::query {
namespace {

using testing::ProcessResult;

class QueryExecutable : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeDatabaseFile(
            database_,
            testing::lookupDatabase({
                {57, testing::lookupTexts("K9HCG08U5M", "EC D3 14 A5", {{"芯邦", "\r\nCBM2093"}})},
                {58, testing::lookupTexts("K9HCG08U5M", "EC D3 14 A5 64", {{"芯邦", "CBM2093"}})},
            }));
    }

    ProcessResult run(std::vector<std::string> arguments) const {
        return testing::runProcess(NORVESSA_QUERY_EXECUTABLE, arguments, folder_.path());
    }

    std::vector<std::string> onTestDatabase(std::vector<std::string> arguments) const {
        arguments.insert(arguments.end(),
                         {"--database", database_.string(), "--password", testing::kTestPassword});
        return arguments;
    }

    testing::TemporaryFolder folder_;
    std::filesystem::path database_ = folder_.path() / "lookup.mdb";
};

TEST_F(QueryExecutable, FoundNothingFoundAndFailedHaveTheirOwnExitStatus) {
    const ProcessResult found = run(onTestDatabase({"--id", "ec d3 14 a5", "--format", "csv"}));
    EXPECT_EQ(found.exitStatus, 0) << found.errors;
    EXPECT_EQ(found.errors, "");
    EXPECT_EQ(std::count(found.out.begin(), found.out.end(), '\n'), 3 + 1);  // one CR LF inside

    const ProcessResult none = run(onTestDatabase({"K9HCG08U5MX"}));
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.errors, "norvessa-query: no record found\n");
    const ProcessResult noneAsJson = run(onTestDatabase({"--prefix", "H27", "--format", "json"}));
    EXPECT_EQ(noneAsJson.exitStatus, 1);
    EXPECT_EQ(noneAsJson.out, "[]\n");

    // Bad input is reported as such even when the database could not be opened either.
    const ProcessResult badId =
        run({"--id", "ZZ", "--database", (folder_.path() / "none.mdb").string()});
    EXPECT_EQ(badId.exitStatus, 2);
    EXPECT_EQ(badId.out, "");
    EXPECT_EQ(badId.errors,
              "norvessa-query: --id \"ZZ\": 'Z' is not a hexadecimal digit; give ID bytes as pairs "
              "of digits 0-9 and A-F, such as \"EC D5 14 B6\"\n"
              "Try 'norvessa-query --help' for more information.\n");
    const ProcessResult oddId = run(onTestDatabase({"--id", "EC D3 1"}));
    EXPECT_EQ(oddId.exitStatus, 2);
    EXPECT_NE(oddId.errors.find("5 hexadecimal digits, an odd number"), std::string::npos);

    const ProcessResult wrongPassword =
        run({"K9", "--database", database_.string(), "--password", "1234"});
    EXPECT_EQ(wrongPassword.exitStatus, 2);
    EXPECT_NE(wrongPassword.errors.find("norvessa-query: "), std::string::npos);
    EXPECT_NE(wrongPassword.errors.find("password"), std::string::npos) << wrongPassword.errors;

    const ProcessResult missing = run({"K9", "--database", (folder_.path() / "none.mdb").string()});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_NE(missing.errors.find("none.mdb"), std::string::npos) << missing.errors;

    const ProcessResult unknown = run({"--model", "K9"});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.errors,
              "norvessa-query: unknown option --model\n"
              "Try 'norvessa-query --help' for more information.\n");
}

// A Chinese path reaches the program whole, whatever code page the system runs the program in.
TEST_F(QueryExecutable, ChineseDatabasePathArrivesWhole) {
    const std::filesystem::path chinese = folder_.path() / u8"闪存型号库.mdb";
    std::filesystem::copy_file(database_, chinese);
    const std::u8string path = chinese.u8string();
    const ProcessResult found =
        run({"--id", "EC D3 14 A5", "--database", std::string(path.begin(), path.end()),
             "--password", testing::kTestPassword});
    EXPECT_EQ(found.exitStatus, 0) << found.errors;
    EXPECT_NE(found.out.find("K9HCG08U5M"), std::string::npos);
}

TEST_F(QueryExecutable, HelpAndVersion) {
    const ProcessResult version = run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "norvessa-query 1.00\n");
    const ProcessResult help = run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out, usageText());
    EXPECT_EQ(help.errors, "");
}

TEST_F(QueryExecutable, CsvAndJsonReadBackToTheSameFields) {
#ifdef _WIN32
    GTEST_SKIP() << "the read-back runs Linux's python3, which Windows programs cannot start";
#endif
    // The test database stores one controller name with a line break, so CR LF goes through.
    const ResultTable expected = runLookup({LookupMode::Controller,
                                            "CBM2093",
                                            OutputFormat::Table,
                                            {database_, testing::kTestPassword}});
    ASSERT_EQ(expected.rows.size(), 2u);
    for (const std::string format : {"csv", "json"}) {
        const ProcessResult written =
            run(onTestDatabase({"--controller", "CBM2093", "--format", format}));
        ASSERT_EQ(written.exitStatus, 0) << written.errors;
        EXPECT_EQ(testing::readBackWithPython(format, written.out, folder_.path()),
                  format == "csv" ? testing::expectedCsvLines(expected)
                                  : testing::expectedJsonLines(expected))
            << format;
    }
}

TEST(QueryExecutableOnShippedDatabase, FindsARowOfTheCarriedDatabase) {
    const testing::TemporaryFolder folder;
    const ProcessResult exact =
        testing::runProcess(NORVESSA_QUERY_EXECUTABLE, {"k9hcg08u5m"}, folder.path());
    EXPECT_EQ(exact.exitStatus, 0) << exact.errors;
    EXPECT_NE(exact.out.find("Samsung 三星"), std::string::npos);
}

}  // namespace
}  // namespace norvessa::query
