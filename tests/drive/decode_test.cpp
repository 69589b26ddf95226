// --decode: the compiled-in ID facts, the layout decode and the records, on IDs from datasheets.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "drive/id_answer.h"
#include "drive/nand_id_facts.h"
#include "norvessa_query/command_line.h"
#include "tools/dataset/dataset_error.h"
#include "tools/nand_id_facts/nand_id_facts_source.h"

namespace norvessa::drive {
namespace {

struct DatasheetId {
    const char* typed;
    const char* maker;
    const char* cell;
    std::uint32_t page;
    std::uint32_t block;
    const char* part;  // a part the sourced tables list for it
};

// The Read ID tables of the makers' datasheets:
// - Samsung K9GAG08U0E (16 Gbit MLC), datasheet "K9GAG08U0E", Read ID table: EC D5 84 72 50 42,
//   8 KB page, 1 MB block.
// - Hynix H27UBG8T2A (32 Gbit MLC), datasheet "H27UBG8T2A", Read ID table: AD D7 94 9A 74 42,
//   8 KB page, 2 MB block.
// - Samsung K9F1G08U0D (1 Gbit SLC), datasheet "K9F1G08U0D", Read ID table: EC F1 00 15 40,
//   2 KB page, 128 KB block.
// - Hynix H27U4G8F2D (4 Gbit SLC), datasheet "H27(U/S)4G(8/6)F2D 4Gbit NAND Flash" Rev 1.4,
//   Oct. 2010, p.24 Table 14: AD DC 90 95 54, 2 KB page, 128 KB block.
const DatasheetId kDatasheetIds[] = {
    {"EC D5 84 72 50 42", "Samsung", "MLC", 8192, 1048576, "K9GAG08U0E"},
    {"add7949a7442", "Hynix", "MLC", 8192, 2097152, "H27UBG8T2A"},
    {"EC F1 00 15 40", "Samsung", "SLC", 2048, 131072, "K9F1G08U0D"},
    {" ad dc 90 95 54 ", "Hynix", "SLC", 2048, 131072, "H27U4G8F2D"},
};

std::string runTool(std::vector<std::string> arguments, int& status) {
    std::ostringstream out;
    std::ostringstream errors;
    status = query::runQueryTool(arguments, out, errors);
    return out.str() + errors.str();
}

// The text of the JSON object that follows `"key": {`, up to its closing brace.
std::string jsonObject(const std::string& json, const std::string& key) {
    const std::size_t start = json.find("\"" + key + "\": {");
    if (start == std::string::npos) {
        return {};
    }
    return json.substr(start, json.find('}', start) - start);
}

TEST(Decode, DatasheetIdsGiveTheirMakerCellPageAndBlock) {
    for (const DatasheetId& expected : kDatasheetIds) {
        SCOPED_TRACE(expected.typed);
        int status = -1;
        const std::string json = runTool({"--decode", expected.typed, "--format", "json"}, status);
        EXPECT_EQ(status, 0) << json;
        const std::string decoded = jsonObject(json, "decoded");
        EXPECT_NE(decoded.find("\"maker\": \"" + std::string(expected.maker) + "\""),
                  std::string::npos)
            << decoded;
        EXPECT_NE(decoded.find("\"cell\": \"" + std::string(expected.cell) + "\""),
                  std::string::npos);
        EXPECT_NE(decoded.find("\"page_bytes\": " + std::to_string(expected.page)),
                  std::string::npos);
        EXPECT_NE(decoded.find("\"block_bytes\": " + std::to_string(expected.block)),
                  std::string::npos);
        EXPECT_NE(json.find("\"part\": \"" + std::string(expected.part) + "\""), std::string::npos);
        EXPECT_NE(json.find("\"records\": ["), std::string::npos);
    }
}

TEST(Decode, TheTablesGiveWhatTheLayoutCannot) {
    // A Toshiba MLC fourth byte 0x76 gives no geometry by the layout; the sourced tables do,
    // and where two of them differ the difference is shown.
    const IdAnswer answer = answerId(parseIdBytes("98D794327656"));
    EXPECT_FALSE(answer.decoded.pageBytes.has_value());
    EXPECT_FALSE(answer.decoded.blockBytes.has_value());
    ASSERT_FALSE(answer.parts.empty());
    EXPECT_EQ(answer.parts.front().comparedBytes, 6u);
    EXPECT_EQ(answer.parts.front().blockBytes, 1048576u);
    std::ostringstream text;
    writeIdAnswerText(text, answer);
    EXPECT_NE(text.str().find("Block:          unknown"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("Disagreement: spare:"), std::string::npos);

    // An ID no table lists still decodes, and unknown stays null in JSON.
    int status = -1;
    const std::string json = runTool({"--decode", "2C 00 00", "--format", "json"}, status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(jsonObject(json, "decoded").find("\"page_bytes\": null"), std::string::npos) << json;
}

TEST(Decode, BadBytesAreUsageErrors) {
    for (const char* typed : {"EC D", "EC", "EC D7 94 7A 54 43 00 00 11", "EC ZZ", ""}) {
        int status = -1;
        const std::string message = runTool({"--decode", typed}, status);
        EXPECT_EQ(status, 2) << typed;
        EXPECT_NE(message.find("--decode"), std::string::npos) << message;
    }
    int status = -1;
    EXPECT_NE(runTool({"--decode", "ECD7", "--format", "csv"}, status).find("not csv"),
              std::string::npos);
}

TEST(NandIdFacts, GeneratorKeepsOpenBytesAndRefusesBadNumbers) {
    const std::string header =
        "part,maker,id,page,oob,block,chip_mbit,dies,ce,cell,ecc,width,interface,process,voltage,"
        "source,fields,notes\n";
    const std::string source = nand_id_facts::generateFactsSource(
        header +
            "K9K2G08U0M,Samsung,EC DA XX 15 44,2048,64,131072,2048,,,SLC,,8,,,,\"a \"\"q\"\"\","
            ",\nNOID,Samsung,,,,,,,,,,,,,,s,,\n",
        "test.csv");
    EXPECT_NE(source.find("{\"K9K2G08U0M\"sv, \"Samsung\"sv, 5, {236, 218, 0, 21, 68}, 4, 2048"),
              std::string::npos)
        << source;
    EXPECT_NE(source.find("\"a \\042q\\042\"sv"), std::string::npos);
    EXPECT_EQ(source.find("NOID"), std::string::npos);
    EXPECT_THROW(nand_id_facts::generateFactsSource(header + "P,M,EC D7,8K,,,,,,,,,,,,s,,\n", "t"),
                 dataset::DatasetError);
    EXPECT_THROW(nand_id_facts::generateFactsSource(header + "P,M,EC D7,,,,,,,XLC,,,,,,s,,\n", "t"),
                 dataset::DatasetError);

    // The compiled-in facts answer with open bytes matching anything.
    const std::vector<std::uint8_t> id = {0xEC, 0xDA, 0x10, 0x15, 0x44};
    bool found = false;
    for (const FactMatch& match : factsMatchingId(id)) {
        found = found || (match.fact->part == "K9K2G08U0M" && match.comparedBytes == 5);
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace norvessa::drive
