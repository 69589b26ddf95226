// The data check over small sample files (tests/dataset_check/samples), each row built to pass,
// to fail one rule, or to leave a rule unknown.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "flash/flash_traits.h"
#include "tools/dataset/dataset_error.h"
#include "tools/dataset_check/dataset_check.h"
#include "tools/dataset_check/flash_fields.h"

namespace norvessa::dataset::check {
namespace {

const std::filesystem::path kSamples =
    std::filesystem::path(NORVESSA_SOURCE_DIR) / "tests" / "dataset_check" / "samples";

CheckPaths samplePaths() {
    return {kSamples / "flash_data.csv",
            kSamples / "flash_sources.csv",
            kSamples / "controller_facts.csv",
            kSamples / "known_exceptions.csv",
            std::nullopt,
            std::nullopt,
            std::nullopt,
            std::nullopt};
}

using Key = std::tuple<std::string, std::size_t, std::string, bool>;  // file, line, rule, accepted

std::set<Key> keysOf(const CheckReport& report) {
    std::set<Key> keys;
    for (const auto& finding : report.findings) {
        keys.emplace(finding.file, finding.line, finding.rule, finding.acceptedBecause.has_value());
    }
    return keys;
}

const RuleTally& tallyOf(const CheckReport& report, std::string_view rule) {
    const auto found = std::find_if(report.tallies.begin(), report.tallies.end(),
                                    [rule](const RuleTally& tally) { return tally.rule == rule; });
    EXPECT_NE(found, report.tallies.end()) << rule;
    return *found;
}

TEST(DatasetCheck, ReportsEachFailureWithItsFileLineAndRule) {
    const CheckReport report = runDatasetCheck(samplePaths());
    const std::set<Key> expected = {
        {"controller_facts.csv", 4, "facts-file", false},  // unknown cell type
        {"controller_facts.csv", 5, "facts-file", false},  // ECC bits without a sector
        {"controller_facts.csv", 6, "facts-file", false},  // chip listed twice
        {"flash_data.csv", 4, "id-capacity", true},        // row 57, a known exception
        {"flash_data.csv", 5, "id-maker", false},          // Samsung ID under a Hynix brand
        {"flash_data.csv", 5, "id-type", false},
        {"flash_data.csv", 5, "pn-type", false},
        {"flash_data.csv", 5, "controller-capability", false},  // TLC on an MLC controller
        {"flash_data.csv", 5, "source", false},                 // no source gives the ID
        {"flash_data.csv", 6, "controller-known", false},
        {"flash_data.csv", 6, "controller-capability", false},  // ECC and Toggle
        {"flash_data.csv", 6, "source", false},
        {"flash_data.csv", 7, "source", false},
        {"flash_data.csv", 8, "source", false},
        {"flash_sources.csv", 5, "sources-file", false},        // not a citation
        {"flash_sources.csv", 6, "sources-file", false},        // a model the data set lacks
        {"known_exceptions.csv", 4, "exceptions-file", false},  // no reason
    };
    EXPECT_EQ(keysOf(report), expected);
    EXPECT_EQ(report.unacceptedFailures(), expected.size() - 1);
    ASSERT_EQ(report.notes.size(), 1u);  // the exception that no longer applies
    EXPECT_NE(report.notes[0].find("line 3"), std::string::npos);

    // Line 2 passes everything; lines 6 and 7 have no ID and lines 7 and 8 no controller.
    const RuleTally& idType = tallyOf(report, "id-type");
    EXPECT_EQ(idType.checked, 4u);
    EXPECT_EQ(idType.failed, 1u);
    EXPECT_EQ(idType.unknown, 2u);
    EXPECT_EQ(tallyOf(report, "id-capacity").accepted, 1u);
    EXPECT_EQ(tallyOf(report, "controller-capability").unknown, 2u);
    EXPECT_EQ(tallyOf(report, "pn-ce").unknown, 2u);  // mode 0 says nothing
}

TEST(DatasetCheck, MissingSideFilesFailTheRulesThatNeedThem) {
    CheckPaths paths = samplePaths();
    paths.sources = kSamples / "absent.csv";
    paths.controllerFacts = kSamples / "absent.csv";
    const CheckReport report = runDatasetCheck(paths);
    EXPECT_EQ(tallyOf(report, "source").failed, 6u);
    EXPECT_EQ(tallyOf(report, "controller-known").failed, 4u);
    EXPECT_EQ(tallyOf(report, "controller-capability").checked, 0u);
    EXPECT_EQ(report.notes.size(), 3u);

    paths.dataset = kSamples / "absent.csv";
    EXPECT_THROW(runDatasetCheck(paths), DatasetError);
    paths = samplePaths();
    paths.sources = kSamples / "controller_facts.csv";  // the wrong header
    EXPECT_THROW(runDatasetCheck(paths), DatasetError);
}

// Every model must be a name a facts file writes (a list's note after it aside), and the
// generator's ID checks must agree with the rows; disagreements are counted with their rows.
TEST(DatasetCheck, ModelsAreWrittenNamesAndIdChecksMatchTheRows) {
    std::vector<FlashRecord> rows(3);
    const std::array<std::pair<std::string, std::string>, 3> modelAndId = {
        {{"K9AAGD8U0A", "EC D7 94 7A"}, {"K9WCG08U5M", ""}, {"K9MADEUP0A", ""}}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].id = static_cast<std::int32_t>(10 + i);
        rows[i].line = i + 2;
        rows[i].fields[column::kModel] = modelAndId[i].first;
        rows[i].fields[column::kIdBytes] = modelAndId[i].second;
    }
    WrittenNames written;
    addWrittenNames("list,part\r\nx,K9AAGD8U0A(TOG)\r\nx,k9wcg08u5m\r\n", "support_lists.csv",
                    "part", written);
    const IdChecks checks = parseIdChecks(
        "model,id,families,part_number_agrees,settled,id_reading,part_number_reading,sources,"
        "other_ids\r\n"
        "K9AAGD8U0A,EC D7 94 7A,linux ; smi,yes,kept,,,a,\r\n"
        "K9WCG08U5M,EC D7 51 6A,smi,no: density,left out,32 Gbit per chip enable,64 Gbit,b,\r\n"
        "K9MADEUP0A,EC 00 00 00,smi,yes,kept,,,c,\r\n"
        "K9AAGD8U0A,EC D7,smi,maybe,kept,,,d,\r\n",
        "id_crosscheck.csv");
    ASSERT_EQ(checks.problems.size(), 1u);
    EXPECT_EQ(checks.problems[0].line, 5u);

    CheckInput input;
    input.rows = &rows;
    input.writtenNames = &written;
    input.idChecks = &checks;
    const CheckReport report = checkDataset(input);
    std::set<Key> failures;
    for (const auto& key : keysOf(report)) {
        if (std::get<2>(key) == "model-written" || std::get<2>(key) == "id-crosscheck") {
            failures.insert(key);
        }
    }
    EXPECT_EQ(failures, (std::set<Key>{{"flash_data.csv", 4, "model-written", false},
                                       {"flash_data.csv", 4, "id-crosscheck", false},
                                       {"id_crosscheck.csv", 5, "id-crosscheck", false}}));
    EXPECT_EQ(report.summary.rows, 3u);
    EXPECT_EQ(report.summary.modelsWithId, 1u);
    EXPECT_EQ(report.summary.idsConfirmedByFamilies, 1u);
    ASSERT_EQ(report.summary.disagreements.size(), 1u);
    EXPECT_EQ(report.summary.disagreements[0].line, 3u);

    EXPECT_THROW(parseIdChecks("model,id\r\n", "id_crosscheck.csv"), DatasetError);
}

TEST(DatasetCheck, ReadsTheDataSetValueShapes) {
    EXPECT_EQ(capacityBits("8GB"), 64 * flash::kGigabit);
    EXPECT_EQ(capacityBits("512MB"), 4 * flash::kGigabit);
    EXPECT_EQ(capacityBits("8G"), std::nullopt);
    EXPECT_EQ(cellType("SLC-512")->pageBytes, 512u);
    EXPECT_EQ(cellType("TLC-16K")->pageBytes, 16384u);
    EXPECT_EQ(cellType("MLC")->pageBytes, std::nullopt);
    EXPECT_EQ(cellType("XLC-4K"), std::nullopt);
    EXPECT_EQ(cellType("MLC-"), std::nullopt);
    EXPECT_TRUE(busWidth("8bit DDR")->ddr);
    EXPECT_EQ(busWidth("16bit")->bits, 16);
    EXPECT_EQ(busWidth("8 bit"), std::nullopt);
    EXPECT_EQ(chipEnables("\r\n4CE"), 4);
    EXPECT_EQ(chipEnables("0CE"), std::nullopt);
    EXPECT_EQ(eccBitsPerKiB("4b/512B"), 8);
    EXPECT_EQ(eccBitsPerKiB("24b/1KB"), 24);
    EXPECT_EQ(eccBitsPerKiB("Error Free"), 0);
    EXPECT_EQ(eccBitsPerKiB("4b/0B"), std::nullopt);
    EXPECT_EQ(eccBitsPerKiB("4b"), std::nullopt);
}

// A flagged name that is still a model, a misprint whose real name is no model, a controller cell
// no pairing reached and a pairing in no row all fail; the summary counts reasons and kinds.
TEST(DatasetCheck, FlaggedNamesAndPairingsMatchTheRows) {
    std::vector<FlashRecord> rows(2);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].line = i + 2;
        rows[i].fields[column::kModel] = i == 0 ? "K9AAGD8U0A" : "K9WCG08U5M";
        rows[i].fields[column::kFirstController] = i == 0 ? "SM3257AA" : "SM3267AB";
    }
    const NameFlags flags = parseNameFlags(
        "name,reason,evidence,stands_for,lists\r\n"
        "K9AAGD8U0A,placeholder,e,,l\r\n"
        "K9AAGD8UOA,misprint,e,K9AAGD8U0A,l\r\n"
        "K9WCG08USM,misprint,e,K9WCG08U6M,l\r\n"
        "K9X,guess,e,,l\r\n",
        "name_flags.csv");
    ASSERT_EQ(flags.problems.size(), 1u);
    const Pairings pairings = parsePairings(
        "model,maker,chip,kind,list\r\n"
        "K9AAGD8U0A,慧荣,SM3257AA,own name,smi\r\n"
        "K9WCG08U5M,慧荣,SM3281AB,exact ID,smi\r\n",
        "pairings.csv");
    ASSERT_TRUE(pairings.problems.empty());

    CheckInput input;
    input.rows = &rows;
    input.nameFlags = &flags;
    input.pairings = &pairings;
    const CheckReport report = checkDataset(input);
    std::set<Key> failures;
    for (const auto& key : keysOf(report)) {
        if (std::get<2>(key) == "name-flags" || std::get<2>(key) == "pairing") {
            failures.insert(key);
        }
    }
    EXPECT_EQ(failures, (std::set<Key>{{"name_flags.csv", 2, "name-flags", false},
                                       {"name_flags.csv", 4, "name-flags", false},
                                       {"name_flags.csv", 5, "name-flags", false},
                                       {"flash_data.csv", 3, "pairing", false},
                                       {"pairings.csv", 3, "pairing", false}}));
    EXPECT_EQ(report.summary.flaggedByReason.at("misprint"), 2u);
    EXPECT_EQ(report.summary.pairingsByKind.at("own name"), 1u);
    EXPECT_FALSE(report.summary.pairingsByKind.contains("exact ID"));
    EXPECT_THROW(parsePairings("model,chip\r\n", "pairings.csv"), DatasetError);
}

}  // namespace
}  // namespace norvessa::dataset::check
