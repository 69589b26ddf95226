// The four lookups over a small database written for the purpose.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "lookup_database_fixture.h"
#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"
#include "platform/jet/layout.h"
#include "tools/dataset/csv_reader.h"

namespace norvessa::query {
namespace {

using testing::lookupTexts;

std::vector<testing::LookupRow> sampleRows() {
    return {
        {10, lookupTexts("MT29F64G08", "2C 88 24 CB", {{"芯邦", "CBM2093"}, {"慧荣", "SM3257AA"}})},
        {11, lookupTexts("MT29F64G08", "2C 88 24 4B", {{"群联", "UP10-CC"}})},
        {12, lookupTexts("MT29F64G08CBAAA", "2C 88 04 4B A9", {{"芯邦", "\r\nCBM2093"}})},
        {13, lookupTexts("K9HCG08U5M", "EC D3 14 A5 64",
                         {{"芯邦", "cbm2093\r\n"}, {"安国", "AU6985"}})},
        {14, lookupTexts("K9F1G08U0B", "EC F1 80 15/10")},
        {15, lookupTexts("H27UBG8T2A", "ad d7 94 9a 74 42",
                         {{"迈科微", "8219"}, {"我想", " 8219\r\n"}})},
        {16, lookupTexts("AB'CD", "98 D7 94 32")},
        {17, lookupTexts("MT29F32G08", "2C D7 94 3E 84", {{"芯邦", "CBM2093P"}})},
    };
}

class QueryLookups : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new testing::TemporaryFolder;
        file_ = folder_->path() / "lookup.mdb";
        testing::writeDatabaseFile(file_, testing::lookupDatabase(sampleRows()));
    }
    static void TearDownTestSuite() { delete folder_; }

    static ResultTable lookUp(LookupMode mode, std::string text) {
        return runLookup({mode,
                          std::move(text),
                          OutputFormat::Table,
                          {file_, std::string(testing::kTestPassword)}});
    }

    // The id of every result row, in order.
    static std::vector<std::string> ids(const ResultTable& result) {
        const auto idColumn = std::find(result.columns.begin(), result.columns.end(), "id");
        std::vector<std::string> found;
        for (const auto& row : result.rows) {
            found.push_back(row[static_cast<std::size_t>(idColumn - result.columns.begin())].text);
        }
        return found;
    }

    static testing::TemporaryFolder* folder_;
    static std::filesystem::path file_;
};

testing::TemporaryFolder* QueryLookups::folder_ = nullptr;
std::filesystem::path QueryLookups::file_;

using Ids = std::vector<std::string>;

TEST_F(QueryLookups, ExactModelIsTheWindowsProgramsLookup) {
    EXPECT_EQ(exactLookupStatement("K9HCG08U5M"),
              "select * from velthorn42 where FLASH型号 ='K9HCG08U5M '");
    EXPECT_EQ(exactLookupStatement("AB'CD"), "select * from velthorn42 where FLASH型号 ='AB''CD '");

    const ResultTable result = lookUp(LookupMode::ExactModel, "  mt29f64g08 ");
    // The whole model must match: MT29F64G08CBAAA is another model.
    EXPECT_EQ(ids(result), (Ids{"10", "11"}));
    ASSERT_EQ(result.columns.size(), 24u);
    EXPECT_EQ(result.columns[0], "序号");
    EXPECT_EQ(std::vector<std::string>(result.columns.begin() + 1, result.columns.end()),
              testing::kLookupColumns);
    EXPECT_EQ(result.rows[1][0], Cell::fromInteger(2));
    EXPECT_EQ(result.rows[1][1], Cell::fromInteger(11));
    EXPECT_EQ(result.rows[1][8], Cell::fromText("2C 88 24 4B"));

    EXPECT_EQ(ids(lookUp(LookupMode::ExactModel, "ab'cd")), (Ids{"16"}));
    EXPECT_TRUE(lookUp(LookupMode::ExactModel, "MT29F64").rows.empty());
    EXPECT_TRUE(lookUp(LookupMode::ExactModel, "   ").rows.empty());
}

TEST_F(QueryLookups, PrefixFindsEveryModelStartingWithTheText) {
    EXPECT_EQ(ids(lookUp(LookupMode::ModelPrefix, "MT29F64G08")), (Ids{"10", "11", "12"}));
    EXPECT_EQ(ids(lookUp(LookupMode::ModelPrefix, " mt29f ")), (Ids{"10", "11", "12", "17"}));
    EXPECT_EQ(ids(lookUp(LookupMode::ModelPrefix, "MT29F64G08CBAAA")), (Ids{"12"}));
    EXPECT_TRUE(lookUp(LookupMode::ModelPrefix, "MT29F64G08CBAAAX").rows.empty());
    EXPECT_THROW(lookUp(LookupMode::ModelPrefix, " "), UsageError);
}

TEST_F(QueryLookups, IdFindsRecordsWhoseBytesBeginWithTheTypedOnes) {
    EXPECT_EQ(ids(lookUp(LookupMode::IdBytes, "EC D3 14 A5")), (Ids{"13"}));
    EXPECT_EQ(ids(lookUp(LookupMode::IdBytes, "ecd314a564")), (Ids{"13"}));
    EXPECT_EQ(ids(lookUp(LookupMode::IdBytes, "EC F1 80 10")), (Ids{"14"}));
    EXPECT_EQ(ids(lookUp(LookupMode::IdBytes, "AD D7 94 9A")), (Ids{"15"}));
    EXPECT_EQ(ids(lookUp(LookupMode::IdBytes, "2C 88")), (Ids{"10", "11", "12"}));
    EXPECT_TRUE(lookUp(LookupMode::IdBytes, "EC D3 14 A5 64 00").rows.empty());
}

TEST_F(QueryLookups, ControllerFindsItsFlashesWithTheMakerColumn) {
    const ResultTable result = lookUp(LookupMode::Controller, "cbm2093");
    ASSERT_EQ(result.columns.size(), 25u);
    EXPECT_EQ(result.columns[1], "主控厂商");
    // Line breaks around a stored name and letter case do not count; CBM2093P is another chip.
    EXPECT_EQ(ids(result), (Ids{"10", "12", "13"}));
    for (std::size_t row = 0; row < result.rows.size(); ++row) {
        EXPECT_EQ(result.rows[row][0], Cell::fromInteger(static_cast<long long>(row) + 1));
        EXPECT_EQ(result.rows[row][1], Cell::fromText("芯邦"));
    }
    // The stored value is listed as it is, line breaks included.
    EXPECT_EQ(result.rows[1][2 + 20], Cell::fromText("\r\nCBM2093"));

    const ResultTable twice = lookUp(LookupMode::Controller, "8219");
    EXPECT_EQ(ids(twice), (Ids{"15", "15"}));
    EXPECT_EQ(twice.rows[0][1], Cell::fromText("迈科微"));
    EXPECT_EQ(twice.rows[1][1], Cell::fromText("我想"));

    EXPECT_TRUE(lookUp(LookupMode::Controller, "CBM209").rows.empty());
}

TEST_F(QueryLookups, ADatabaseWithoutTheLookupTablesColumnsIsAnError) {
    jet::NewDatabase other = testing::lookupDatabase({});
    other.password.clear();
    other.tables.front().columns.pop_back();  // no 我想 column
    const auto otherFile = folder_->path() / "other.mdb";
    testing::writeDatabaseFile(otherFile, other);
    try {
        runLookup({LookupMode::Controller, "8219", OutputFormat::Table, {otherFile, ""}});
        FAIL() << "a table without the 我想 column was searched";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "table velthorn42 has no column 我想; is this a Norvessa lookup database?");
    }
}

// A file written elsewhere may record a row count its writer did not keep exact: every row is
// still searched, and the difference is told on standard error.
TEST_F(QueryLookups, ARecordedRowCountThatDiffersIsAWarningOnStandardError) {
    std::vector<std::uint8_t> image = jet::writeDatabase(testing::lookupDatabase(sampleRows()));
    const std::uint32_t page = jet::Database::fromBytes(image, testing::kTestPassword)
                                   .table("velthorn42")
                                   .definition()
                                   .definitionPage;
    image[page * jet::layout::kPageSize + jet::layout::tdef::kRowCount.offset] = 3;
    const auto file = folder_->path() / "stale.mdb";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    const std::vector<std::string> arguments{
        "--prefix",   "MT29",        "--format",   "json",
        "--database", file.string(), "--password", testing::kTestPassword};
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(runQueryTool(arguments, out, errors), kRecordsFound);
    EXPECT_EQ(errors.str(),
              "norvessa-query: warning: stale.mdb: table \"velthorn42\" holds 8 rows, but its "
              "definition records 3; all 8 rows are read\n");
    const std::string json = out.str();
    for (const char* id : {"\"id\": 10,", "\"id\": 11,", "\"id\": 12,", "\"id\": 17,"}) {
        EXPECT_NE(json.find(id), std::string::npos) << id;
    }
    EXPECT_EQ(json.find("\"序号\": 5,"), std::string::npos);
}

// The data set writes each Phison chip under the label phison_names.csv gives it; every other
// name that file gives the chip must find it, or a report's spelling finds nothing.
TEST(QueryControllerNames, EveryPhisonNameTheDataSetUsesFindsItsLabel) {
    std::ifstream file(NORVESSA_PHISON_NAMES_CSV, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    const auto records = dataset::parseCsv(text.str(), "phison_names.csv");
    ASSERT_GT(records.size(), 1u);
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto& fields = records[i].fields;  // listed_as, ps2251, table_name, label, ...
        const auto names = controllerNamesOf(fields.at(3));
        for (std::size_t column : {0u, 1u, 2u}) {
            if (!fields[column].empty()) {
                EXPECT_NE(std::find(names.begin(), names.end(), fields[column]), names.end())
                    << fields[column] << " does not find " << fields[3];
            }
        }
    }
}

}  // namespace
}  // namespace norvessa::query
