// norvessa-build-database: the same data set always gives the same image, the one the writer
// makes from it; a wrong command line or data set is refused with a message.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/jet/writer.h"
#include "tests/interop/interop_support.h"
#include "tools/build_database/build_database.h"
#include "tools/build_database/lookup_image.h"
#include "tools/dataset/flash_dataset.h"

namespace norvessa::interop {
namespace {

const std::filesystem::path kDataset =
    std::filesystem::path(NORVESSA_SOURCE_DIR) / "resources" / "flash_data.csv";

struct BuildRun {
    int status = 0;
    std::string errors;
};

BuildRun buildDatabase(const std::vector<std::string>& arguments) {
    std::ostringstream errors;
    const int status = build_database::runBuildDatabase(arguments, errors);
    return {status, errors.str()};
}

std::vector<std::string> arguments(const std::filesystem::path& input,
                                   const std::filesystem::path& output) {
    return {"--input",    input.string(), "--output",        output.string(),
            "--password", "12345678",     "--creation-date", "41718"};
}

TEST(BuildDatabase, TheSameDataSetGivesTheSameImageTheWriterMakes) {
    if (!std::filesystem::exists(kDataset)) {
        GTEST_SKIP() << "the data set " << kDataset << " is absent";
    }
    TemporaryFolder folder;
    ASSERT_EQ(buildDatabase(arguments(kDataset, folder.file("first.mdb"))).status, 0);
    ASSERT_EQ(buildDatabase(arguments(kDataset, folder.file("second.mdb"))).status, 0);
    const std::string first = readText(folder.file("first.mdb"));
    EXPECT_EQ(first, readText(folder.file("second.mdb")));

    const auto image = jet::writeDatabase(
        build_database::lookupDatabase(dataset::readFlashDataset(kDataset), "12345678", 41718.0));
    EXPECT_EQ(first, std::string(image.begin(), image.end()));
    EXPECT_FALSE(std::filesystem::exists(folder.file("first.mdb.partial")));
}

TEST(BuildDatabase, AWrongCommandLineIsRefusedWithTheUsage) {
    TemporaryFolder folder;
    std::vector<std::string> missing = arguments(kDataset, folder.file("out.mdb"));
    missing.resize(6);
    std::vector<std::string> badDate = arguments(kDataset, folder.file("out.mdb"));
    badDate.back() = "tomorrow";
    std::vector<std::string> unknown = arguments(kDataset, folder.file("out.mdb"));
    unknown.push_back("--verbose");
    for (const auto& command : {missing, badDate, unknown}) {
        const BuildRun result = buildDatabase(command);
        EXPECT_EQ(result.status, 2) << result.errors;
        EXPECT_NE(result.errors.find("usage: norvessa-build-database"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.mdb")));
}

TEST(BuildDatabase, IndexedTextWithoutAKeyEncodingStopsTheBuild) {
    TemporaryFolder folder;
    const std::string header =
        "id,FLASH\xE5\x9E\x8B\xE5\x8F\xB7,\xE5\x93\x81\xE7\x89\x8C,\xE5\xAE\xB9\xE9\x87\x8F,"
        "\xE7\xB1\xBB\xE5\x9E\x8B,\xE4\xBD\x8D\xE5\xAE\xBD,\xE7\x89\x87\xE9\x80\x89,ID\xE5\x8F\xB7,"
        "IC\xE5\x88\xB6\xE7\xA8\x8B,ECC\xE7\xBA\xA0\xE9\x94\x99,"
        "\xE5\xB7\xA5\xE4\xBD\x9C\xE7\x94\xB5"
        "\xE5\x8E\x8B,\xE8\x8A\xAF\xE7\x89\x87\xE7\x89\x88\xE6\x9C\xAC,\xE5\xA4\x87\xE6\xB3\xA8,"
        "\xE6\x85\xA7\xE8\x8D\xA3,\xE7\xBE\xA4\xE8\x81\x94,\xE8\x81\x94\xE9\x98\xB3,\xE5\xAE\x89"
        "\xE5\x9B\xBD,\xE6\x93\x8E\xE6\xB3\xB0,\xE9\x91\xAB\xE5\x88\x9B,\xE9\x93\xB6\xE7\x81\xBF,"
        "\xE8\x8A\xAF\xE9\x82\xA6,\xE8\xBF\x88\xE7\xA7\x91\xE5\xBE\xAE,"
        "\xE6\x88\x91\xE6\x83\xB3\r\n";
    const std::string good =
        "10,K9HCG08U5M,Samsung,8GB,MLC-4K,8bit,4CE,EC D3 14 A5,51nm,4b/512B,"
        "3.3V,,,,,,,,,,,,\r\n";
    const std::string bad =
        "11,K9HCG08U5M,Samsung,8GB,MLC-4K,8bit \xC3\xA9,4CE,EC D3 14 A5,51nm,"
        "4b/512B,3.3V,,,,,,,,,,,,\r\n";
    writeFile(folder.file("data.csv"), header + good + bad);

    const BuildRun result =
        buildDatabase(arguments(folder.file("data.csv"), folder.file("out.mdb")));
    EXPECT_EQ(result.status, 1);
    for (const std::string part : {"velthorn42", "\xE4\xBD\x8D\xE5\xAE\xBD", "row 2", "U+00E9"}) {
        EXPECT_NE(result.errors.find(part), std::string::npos)
            << result.errors << " lacks " << part;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.mdb")));
}

}  // namespace
}  // namespace norvessa::interop
