#include "norvessa_query/result_formats.h"

#include <gtest/gtest.h>

#include <sstream>

#include "format_read_back.h"
#include "lookup_database_fixture.h"

namespace norvessa::query {
namespace {

using testing::readBackWithPython;
using testing::TemporaryFolder;

// Values that each format must carry through: line breaks inside and around a value, the
// characters CSV and JSON quote, wide characters, other control characters, empty and Null.
ResultTable awkwardResult() {
    ResultTable result;
    result.columns = {"序号", "id", "FLASH型号", "备注", "芯邦", "工作电压"};
    result.rows.push_back({Cell::fromInteger(1), Cell::fromInteger(57),
                           Cell::fromText("K9HCG08U5M"),
                           Cell::fromText("四管芯封装，仅CE1和CE2可用"),
                           Cell::fromText("\r\nCBM2093"), Cell::fromText("3.3V\r\n")});
    result.rows.push_back({Cell::fromInteger(2), Cell::fromInteger(-3), Cell::fromText("A,B \"C\""),
                           Cell::fromText("back\\slash\ttab\x01"), Cell::fromText(""),
                           Cell{Cell::Kind::Null, ""}});
    return result;
}

TEST(QueryDisplayWidth, WideCharactersTakeTwoCellsAndMarksNone) {
    EXPECT_EQ(displayWidth("K9HCG08U5M"), 10u);
    EXPECT_EQ(displayWidth("Samsung 三星"), 12u);
    EXPECT_EQ(displayWidth("四管芯封装，仅CE1和CE2可用！"), 28u);  // full-width comma and mark
    EXPECT_EQ(displayWidth("e\xCC\x81"), 1u);                      // e with a combining acute
    EXPECT_EQ(displayWidth("\xFF\xE4\xB8"), 3u);                   // not UTF-8: one cell per byte
    EXPECT_EQ(displayWidth(""), 0u);
}

TEST(QueryTableFormat, ColumnsLineUpByTerminalCells) {
    ResultTable result;
    result.columns = {"序号", "品牌", "芯邦"};
    result.rows.push_back(
        {Cell::fromInteger(1), Cell::fromText("Samsung 三星"), Cell::fromText("\r\nCBM2093")});
    result.rows.push_back({Cell::fromInteger(10), Cell::fromText("Hynix"), Cell::fromText("")});
    std::ostringstream out;
    writeTable(out, result);
    EXPECT_EQ(out.str(),
              "序号  品牌          芯邦\n"
              "----  ------------  -----------\n"
              "   1  Samsung 三星  \\r\\nCBM2093\n"
              "  10  Hynix\n");
}

TEST(QueryCsvFormat, QuotesAsRfc4180) {
    std::ostringstream out;
    writeCsv(out, awkwardResult());
    EXPECT_EQ(out.str(),
              "序号,id,FLASH型号,备注,芯邦,工作电压\r\n"
              "1,57,K9HCG08U5M,四管芯封装，仅CE1和CE2可用,\"\r\nCBM2093\",\"3.3V\r\n\"\r\n"
              "2,-3,\"A,B \"\"C\"\"\",back\\slash\ttab\x01,,\r\n");
}

TEST(QueryJsonFormat, EscapesControlCharactersAndKeepsNumbers) {
    std::ostringstream out;
    writeJson(out, awkwardResult());
    EXPECT_EQ(out.str(),
              "[\n"
              "  {\"序号\": 1, \"id\": 57, \"FLASH型号\": \"K9HCG08U5M\", \"备注\": "
              "\"四管芯封装，仅CE1和CE2可用\", \"芯邦\": \"\\r\\nCBM2093\", \"工作电压\": "
              "\"3.3V\\r\\n\"},\n"
              "  {\"序号\": 2, \"id\": -3, \"FLASH型号\": \"A,B \\\"C\\\"\", \"备注\": "
              "\"back\\\\slash\\ttab\\u0001\", \"芯邦\": \"\", \"工作电压\": null}\n"
              "]\n");
    std::ostringstream empty;
    writeJson(empty, ResultTable{{"序号"}, {}});
    EXPECT_EQ(empty.str(), "[]\n");
}

TEST(QueryCsvAndJson, PythonReadsBackTheSameFields) {
#ifdef _WIN32
    GTEST_SKIP() << "the read-back runs Linux's python3, which Windows programs cannot start";
#endif
    const TemporaryFolder folder;
    const ResultTable result = awkwardResult();
    std::ostringstream csv;
    writeCsv(csv, result);
    EXPECT_EQ(readBackWithPython("csv", csv.str(), folder.path()),
              testing::expectedCsvLines(result));
    std::ostringstream json;
    writeJson(json, result);
    EXPECT_EQ(readBackWithPython("json", json.str(), folder.path()),
              testing::expectedJsonLines(result));
}

}  // namespace
}  // namespace norvessa::query
