#include "platform/core/file_output.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "platform/core/platform_error.h"
#include "platform/core/program_file.h"
#include "resources/database_image.h"
#include "support/temporary_folder.h"

using norvessa::platform::PlatformError;
using norvessa::platform::replaceFileContent;

namespace {

using norvessa::testing::TemporaryFolder;

std::vector<std::uint8_t> readAll(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

TEST(ReplaceFileContent, CreatesAndReplacesWholeFiles) {
    TemporaryFolder folder;
    const auto file = folder.path() / "zuzivive.ss";
    const std::vector<std::uint8_t> image{0x00, 0x01, 0x00, 0x00, 0xFF, 0x0D, 0x0A};

    replaceFileContent(file, image);
    EXPECT_EQ(readAll(file), image);

    // A longer file of other content must not keep its tail behind the image.
    std::ofstream(file, std::ios::binary) << std::string(10000, 'x');
    replaceFileContent(file, image);
    EXPECT_EQ(readAll(file), image);

    replaceFileContent(file, {});
    EXPECT_TRUE(readAll(file).empty());
    EXPECT_EQ(entriesIn(folder.path()), 1U) << "no temporary file may stay behind";
}

// Bytes the program carries are copied from the program's own file on Linux (from its loaded
// resource on Windows); the copy must be exactly those bytes, whole or any part of them.
TEST(ReplaceFileContent, CopiesCarriedBytesExactlyFromTheProgramFile) {
    const std::span<const std::uint8_t> image = norvessa::resources::carriedDatabaseImage();
    ASSERT_GT(image.size(), 10000U);
#ifdef __linux__
    ASSERT_TRUE(norvessa::platform::programFileRange(image).has_value());
#endif
    TemporaryFolder folder;
    const auto file = folder.path() / "zuzivive.ss";
    for (const auto part : {image, image.subspan(4097, 5003)}) {
        replaceFileContent(file, part);
        EXPECT_EQ(readAll(file), std::vector<std::uint8_t>(part.begin(), part.end()));
    }
    // Bytes in writable memory are written as they are.
    const std::vector<std::uint8_t> copy(image.begin(), image.begin() + 100);
    EXPECT_FALSE(norvessa::platform::programFileRange(copy).has_value());
    EXPECT_EQ(entriesIn(folder.path()), 1U);
}

TEST(ReplaceFileContent, FailureNamesThePathAndKeepsTheOldFile) {
    TemporaryFolder folder;
    // A folder where the file should be: the rename fails even for root.
    const auto blocked = folder.path() / "blocked";
    std::filesystem::create_directories(blocked / "inside");
    try {
        replaceFileContent(blocked, std::vector<std::uint8_t>{1, 2, 3});
        FAIL() << "writing over a folder must fail";
    } catch (const PlatformError& error) {
        EXPECT_NE(std::string(error.what()).find(blocked.string()), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(blocked / "inside"));
    EXPECT_EQ(entriesIn(folder.path()), 1U) << "no temporary file may stay behind";

    // A missing folder: nothing can be created there.
    EXPECT_THROW(
        replaceFileContent(folder.path() / "missing" / "file", std::vector<std::uint8_t>{1}),
        PlatformError);
}

}  // namespace
