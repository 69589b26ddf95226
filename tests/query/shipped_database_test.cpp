// The lookups over the data set the program ships.

#include "shipped_database.h"
#include "support/row_57.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"

namespace norvessa::query {
namespace {

class QueryShippedLookups : public testing::ShippedDatabaseTest {
  protected:
    static ResultTable lookUp(LookupMode mode, std::string text) {
        return runLookup({mode, std::move(text), OutputFormat::Table, {}});
    }

    static std::size_t column(const ResultTable& result, std::string_view name) {
        const auto found = std::find(result.columns.begin(), result.columns.end(), name);
        EXPECT_NE(found, result.columns.end()) << name;
        return static_cast<std::size_t>(found - result.columns.begin());
    }

    static std::vector<std::string> texts(const ResultTable& result, std::string_view name) {
        std::vector<std::string> found;
        for (const auto& row : result.rows) {
            found.push_back(row[column(result, name)].text);
        }
        return found;
    }

    static bool listsId(const ResultTable& result, const std::string& id) {
        const auto ids = texts(result, "id");
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }

    // The first stored row for which `wanted` holds, as (id, value of `column`).
    std::optional<std::pair<std::string, std::string>> findStored(
        std::string_view name, const std::function<bool(const std::string&)>& wanted) const {
        const jet::Table table = database().table(kLookupTable);
        const std::size_t position = columnPosition(table.definition(), name);
        std::optional<std::pair<std::string, std::string>> found;
        table.scan([&](const jet::RowView& row) {
            const std::string value = jet::toText(row.value(position));
            if (!wanted(value)) {
                return jet::ScanControl::Continue;
            }
            found.emplace(jet::toText(row.value(0)), value);
            return jet::ScanControl::Stop;
        });
        return found;
    }
};

TEST_F(QueryShippedLookups, ExactModelFindsEachModelsOwnRecords) {
    const ResultTable nine = lookUp(LookupMode::ExactModel, "MT29F64G08");
    EXPECT_EQ(texts(nine, "FLASH型号"), std::vector<std::string>(9, "MT29F64G08"));
    EXPECT_FALSE(lookUp(LookupMode::ExactModel, "MT29F64G08CBAAA").rows.empty());

    const ResultTable six = lookUp(LookupMode::ExactModel, "K9LEAG8ZUMM");
    const auto chips = texts(six, "芯邦");
    EXPECT_EQ(std::multiset<std::string>(chips.begin(), chips.end()),
              (std::multiset<std::string>{"CBM2092", "CBM2093", "CBM2093P", "CBM2095", "CBM2096",
                                          "CBM2096P"}));

    const ResultTable typed = lookUp(LookupMode::ExactModel, "  k9hcg08u5m ");
    const auto row57 = std::find_if(typed.rows.begin(), typed.rows.end(),
                                    [](const auto& row) { return row[1].text == "57"; });
    ASSERT_NE(row57, typed.rows.end());
    const std::vector<std::string> expected(norvessa::testing::kRow57.begin(),
                                            norvessa::testing::kRow57.end());
    std::vector<std::string> fields;
    for (std::size_t field = 1; field < row57->size(); ++field) {
        fields.push_back((*row57)[field].text);
    }
    EXPECT_EQ(fields, expected);

    const ResultTable bare = lookUp(LookupMode::ExactModel, "K9F1G08Q0M");
    ASSERT_EQ(bare.rows.size(), 1u);
    for (const auto maker : kControllerMakerColumns) {
        EXPECT_EQ(bare.rows[0][column(bare, maker)].text, "") << maker;
    }
    EXPECT_TRUE(lookUp(LookupMode::ExactModel, "NO-SUCH-MODEL").rows.empty());
}

TEST_F(QueryShippedLookups, PrefixListsTheModelAndItsLongerRelatives) {
    const ResultTable result = lookUp(LookupMode::ModelPrefix, "mt29f64g08");
    const auto models = texts(result, "FLASH型号");
    for (const auto& model : models) {
        EXPECT_TRUE(model.starts_with("MT29F64G08")) << model;
    }
    EXPECT_EQ(std::count(models.begin(), models.end(), "MT29F64G08"), 9);
    EXPECT_EQ(
        std::count(models.begin(), models.end(), "MT29F64G08CBAAA"),
        static_cast<std::ptrdiff_t>(lookUp(LookupMode::ExactModel, "MT29F64G08CBAAA").rows.size()));
}

TEST_F(QueryShippedLookups, IdFindsLongerValuesAndAlternatives) {
    EXPECT_TRUE(listsId(lookUp(LookupMode::IdBytes, "EC D3 14 A5"), "57"));
    EXPECT_TRUE(listsId(lookUp(LookupMode::IdBytes, "ecd314"), "57"));

    const auto alternatives = findStored(
        "ID号", [](const std::string& value) { return value.find('/') != std::string::npos; });
    ASSERT_TRUE(alternatives) << "the data set has no ID bytes with alternatives";
    const std::string& stored = alternatives->second;  // e.g. "20 D3 14 25 64/61"
    const std::size_t slash = stored.find('/');
    const std::string first = stored.substr(0, slash);
    const std::string second = stored.substr(0, slash - 2) + stored.substr(slash + 1, 2);
    EXPECT_TRUE(listsId(lookUp(LookupMode::IdBytes, first), alternatives->first)) << first;
    EXPECT_TRUE(listsId(lookUp(LookupMode::IdBytes, second), alternatives->first)) << second;
}

TEST_F(QueryShippedLookups, ControllerListsItsRowsUnderItsMaker) {
    const ResultTable result = lookUp(LookupMode::Controller, "CBM2093");
    const auto row57 = std::find_if(result.rows.begin(), result.rows.end(),
                                    [](const auto& row) { return row[2].text == "57"; });
    ASSERT_NE(row57, result.rows.end());
    EXPECT_EQ((*row57)[1].text, "芯邦");
    const auto models = texts(result, "FLASH型号");
    EXPECT_EQ(std::count(models.begin(), models.end(), "K9LEAG8ZUMM"), 1);
}

// A controller is found by every name it goes by: the data set's label, its maker's model
// designation and the PS22xx/PS23xx and PS2251-yy spellings reports use.
TEST_F(QueryShippedLookups, ControllerIsFoundByEveryNameItGoesBy) {
    const auto found = lookUp(LookupMode::Controller, "UP303-03").rows.size();
    ASSERT_GT(found, 0u);
    for (const char* name : {"PS2251-03", "ps2303", "UP303"}) {
        EXPECT_EQ(lookUp(LookupMode::Controller, name).rows.size(), found) << name;
    }
    // An older chip paired by a drive report; its two UP names are its two packages.
    const auto olderChip = lookUp(LookupMode::Controller, "PS2232").rows.size();
    ASSERT_GT(olderChip, 0u);
    EXPECT_EQ(lookUp(LookupMode::Controller, "UP14").rows.size(), olderChip);
    EXPECT_EQ(lookUp(LookupMode::Controller, "AU6990").rows.size(),
              lookUp(LookupMode::Controller, "AU6987").rows.size());
    EXPECT_EQ(controllerNamesOf("Nothing"), std::vector<std::string>{"Nothing"});
}

// --id walks the index on ID号; it must list exactly the rows a scan of every stored ID value
// finds, in the same order, for every stored value, every shorter start of it and the other
// choice of a position with alternatives.
TEST_F(QueryShippedLookups, IdBytesThroughTheIndexListWhatAScanFinds) {
    const jet::Table table = database().table(kLookupTable);
    const std::size_t position = columnPosition(table.definition(), kIdBytesColumn);
    std::vector<std::pair<std::string, std::string>> stored;  // (id, ID bytes) in storage order
    table.scan([&](const jet::RowView& row) {
        stored.emplace_back(jet::toText(row.value(0)), jet::toText(row.value(position)));
        return jet::ScanControl::Continue;
    });
    std::set<std::string> typed;
    for (const auto& [id, value] : stored) {
        if (value.empty()) {
            continue;  // ID bytes no source gives
        }
        std::string digits;
        for (const char character : value) {
            if (character == '/') {
                typed.insert(digits.substr(0, digits.size() - 2) + value.substr(value.size() - 2));
                break;
            }
            if (character != ' ') {
                digits.push_back(character);
                if (digits.size() % 2 == 0 && digits.size() <= 6) {
                    typed.insert(digits);
                }
            }
        }
        typed.insert(digits);
    }
    ASSERT_GT(typed.size(), 500U);
    // Every start of one or two bytes, which the most rows share, and an even spread of the
    // longer values, so that the test stays quick however large the data set grows.
    const std::size_t stride = typed.size() / 300 + 1;
    std::size_t longer = 0;
    for (const std::string& text : typed) {
        if (text.size() > 4 && longer++ % stride != 0) {
            continue;
        }
        SCOPED_TRACE(text);
        const std::vector<std::uint8_t> wanted = parseTypedIdBytes(text);
        std::vector<std::string> scanned;
        for (const auto& [id, value] : stored) {
            if (storedIdBeginsWith(value, wanted)) {
                scanned.push_back(id);
            }
        }
        ASSERT_EQ(texts(lookUp(LookupMode::IdBytes, text), "id"), scanned);
    }
}

}  // namespace
}  // namespace norvessa::query
