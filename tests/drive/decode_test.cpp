// --decode: the compiled-in ID facts, the layout decode and the records, on IDs from datasheets.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "drive/id_answer.h"
#include "drive/nand_id_facts.h"
#include "norvessa_query/command_line.h"
#include "norvessa_query/drive_commands.h"
#include "norvessa_query/lookups.h"
#include "platform/json/json_check.h"
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
    // Every JSON the tool writes parses back.
    if (std::find(arguments.begin(), arguments.end(), "json") != arguments.end() &&
        !out.str().empty()) {
        const auto error = json::jsonError(out.str());
        EXPECT_FALSE(error.has_value()) << *error << "\n" << out.str();
    }
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
    const IdAnswer answer = answerId(query::parseTypedIdBytes("98D794327656", "--decode"));
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

// How many records `--id` finds for an ID prefix in the shipped database, counted in its JSON.
std::size_t idLookupCount(const std::string& id) {
    int status = -1;
    const std::string json = runTool({"--id", id, "--format", "json"}, status);
    EXPECT_EQ(status, 0) << json;
    std::size_t count = 0;
    for (auto at = json.find("\"序号\": "); at != std::string::npos;
         at = json.find("\"序号\": ", at + 1)) {
        ++count;
    }
    return count;
}

// The full ID a drive answers with finds the records of its longest stored prefix, says which,
// and sums up the controller chips of those records per maker.
TEST(Decode, TheFullIdFindsTheRecordsOfItsLongestStoredPrefix) {
    // The records of the 5-byte prefix, however many the data set holds.
    const std::size_t prefixRecords = idLookupCount("2C88044BA9");
    ASSERT_GT(prefixRecords, 0u);
    int status = -1;
    const std::string text = runTool({"--decode", "2C88044BA900"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(text.find("Records in the lookup database whose ID号 begins with 2C 88 04 4B A9 (the "
                        "first 5 of the 6 bytes given; no record begins with all of them) (" +
                        std::to_string(prefixRecords) + "):"),
              std::string::npos)
        << text.substr(0, 4000);
    const std::string json = runTool({"--decode", "2C88044BA900", "--format", "json"}, status);
    EXPECT_NE(json.find("\"records_prefix\": \"2C 88 04 4B A9\""), std::string::npos);
    EXPECT_NE(json.find("\"records_compared_bytes\": 5"), std::string::npos);

    // The summary names, under each maker column, exactly the chips the records list there.
    const std::vector<std::uint8_t> id = {0x2C, 0x88, 0x04, 0x4B, 0xA9, 0x00};
    const query::IdRecords found = query::longestPrefixRecords({}, id);
    ASSERT_EQ(found.comparedBytes, 5u);
    ASSERT_EQ(found.table.rows.size(), prefixRecords);
    std::vector<std::pair<std::string, std::vector<std::string>>> expected;
    for (const auto& row : found.table.rows) {
        for (std::size_t column = 0; column < found.table.columns.size(); ++column) {
            const std::string& name = found.table.columns[column];
            if (std::find(query::kControllerMakerColumns.begin(),
                          query::kControllerMakerColumns.end(),
                          name) == query::kControllerMakerColumns.end()) {
                continue;
            }
            const std::string chip(query::trimBlanks(row[column].text));
            if (chip.empty()) {
                continue;
            }
            auto maker = std::find_if(expected.begin(), expected.end(),
                                      [&](const auto& entry) { return entry.first == name; });
            if (maker == expected.end()) {
                expected.push_back({name, {}});
                maker = expected.end() - 1;
            }
            if (std::find(maker->second.begin(), maker->second.end(), chip) ==
                maker->second.end()) {
                maker->second.push_back(chip);
            }
        }
    }
    // Makers come in the order the records first name them, column by column within a record.
    std::string summary;
    const auto support = query::supportOf(found);
    ASSERT_EQ(support.records.size(), prefixRecords);
    for (const auto& [maker, chips] : expected) {
        for (const std::string& chip : chips) {
            bool listed = false;
            for (const auto& record : support.records) {
                listed = listed || std::find(record.controllers.begin(), record.controllers.end(),
                                             std::pair(maker, chip)) != record.controllers.end();
            }
            EXPECT_TRUE(listed) << maker << " " << chip;
        }
    }
    const std::string line = supportingControllers(support);
    for (const auto& [maker, chips] : expected) {
        std::string part = maker + " ";
        for (std::size_t index = 0; index < chips.size(); ++index) {
            part += (index == 0 ? "" : ", ") + chips[index];
        }
        EXPECT_NE(line.find(part), std::string::npos) << part << "\n" << line;
    }
    EXPECT_NE(text.find("Supporting controllers: " + line), std::string::npos);
    EXPECT_NE(line.find("群联 "), std::string::npos);
    EXPECT_NE(json.find("\"supporting_controllers\": \"" + line.substr(0, 20)), std::string::npos);
}

// Five-byte multi-level IDs are never read by a six-byte layout, and never by the old one when
// the two differ.
TEST(Decode, FiveByteIdsLeavePageAndBlockUnknown) {
    for (const char* typed : {"98DE948276", "ECD7947A54"}) {
        int status = -1;
        const std::string json = runTool({"--decode", typed, "--format", "json"}, status);
        const std::string decoded = jsonObject(json, "decoded");
        EXPECT_NE(decoded.find("\"page_bytes\": null"), std::string::npos) << decoded;
        EXPECT_NE(decoded.find("\"block_bytes\": null"), std::string::npos) << decoded;
    }
}

// --id and --decode read typed bytes with the one parser.
TEST(Decode, IdAndDecodeReadTypedBytesAlike) {
    int status = -1;
    runTool({"--id", "EC:D7:94"}, status);
    EXPECT_EQ(status, 0);
    runTool({"--decode", "EC:D7:94"}, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(query::parseTypedIdBytes("ec-d7 94", "--decode"),
              (std::vector<std::uint8_t>{0xEC, 0xD7, 0x94}));
    EXPECT_NE(runTool({"--id", "EC:ZZ"}, status).find("--id \"EC:ZZ\""), std::string::npos);
}

// A drive command whose output cannot be written fails, as a lookup does.
TEST(Decode, AnOutputThatCannotBeWrittenFails) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    std::ostringstream errors;
    const std::vector<std::string> arguments = {"--decode", "ECD7947A5443"};
    EXPECT_EQ(query::runQueryTool(arguments, out, errors), query::kFailed);
    EXPECT_NE(errors.str().find("cannot write the result"), std::string::npos) << errors.str();
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
