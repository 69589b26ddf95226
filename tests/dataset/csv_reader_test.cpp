#include "tools/dataset/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/dataset/dataset_error.h"

using norvessa::dataset::CsvRecord;
using norvessa::dataset::DatasetError;
using norvessa::dataset::parseCsv;

namespace {

using Fields = std::vector<std::string>;

TEST(CsvReader, QuotedFieldsKeepCommasQuotesLineBreaksAndBlanks) {
    const auto records = parseCsv(
        "plain,\"a,b\",\"say \"\"hi\"\"\",\"\r\nSM3257AA\",\"AU6987\r\n\",\" 第二代芯片\",\r\n"
        "  padded  ,\"\",last\r\n",
        "t.csv");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].fields, (Fields{"plain", "a,b", "say \"hi\"", "\r\nSM3257AA", "AU6987\r\n",
                                         " 第二代芯片", ""}));
    // Unquoted blanks are data too: nothing is trimmed.
    EXPECT_EQ(records[1].fields, (Fields{"  padded  ", "", "last"}));
}

TEST(CsvReader, RecordLinesCountPhysicalLines) {
    const auto records = parseCsv("h1,h2\r\n1,\"two\r\nlines\"\r\n2,\"x\"\r\n3,y", "t.csv");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].line, 1u);
    EXPECT_EQ(records[1].line, 2u);
    EXPECT_EQ(records[2].line, 4u);
    EXPECT_EQ(records[3].line, 5u);
    // The last record needs no line break, and a final line break starts no record.
    EXPECT_EQ(records[3].fields, (Fields{"3", "y"}));
    EXPECT_EQ(parseCsv("a\r\n", "t.csv").size(), 1u);
    EXPECT_TRUE(parseCsv("", "t.csv").empty());
}

TEST(CsvReader, BareLineFeedsEndRecordsAndStayInsideQuotes) {
    const auto records = parseCsv("a,b\n\"c\nd\",e\n", "t.csv");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].fields, (Fields{"c\nd", "e"}));
    EXPECT_EQ(records[1].line, 2u);
}

TEST(CsvReader, MalformedTextIsRejectedNamingTheLine) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a,b\r\n1,\"open\r\nstill open\r\n", "t.csv line 2: quoted field is never closed"},
        {"a,b\r\n1,\"closed\"x\r\n", "t.csv line 2: text after the closing quote of a field"},
        {"a\r\n\"two\r\nlines\" x\r\n", "t.csv line 3: text after the closing quote of a field"},
        {"a,b\r\n1,2\r\n3,x\"y\r\n",
         "t.csv line 3: quote inside an unquoted field (quote the whole field and double the "
         "quote)"},
        {"a,b\r\n1,2\r3,4\r\n", "t.csv line 2: carriage return without a line feed"},
        {"a,b\r\n1,2\r", "t.csv line 2: carriage return without a line feed"},
    };
    for (const auto& c : cases) {
        try {
            parseCsv(c.text, "t.csv");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const DatasetError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

}  // namespace
