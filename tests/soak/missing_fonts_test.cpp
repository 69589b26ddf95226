// A machine without any Chinese font: the copy is given a font configuration of its own that
// holds no fonts at all, so nothing has to be uninstalled.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "soak_support.h"

namespace norvessa::soak {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(MissingFonts, WithoutAnyChineseFontTheProgramStartsAndWarnsOnce) {
    const TemporaryFolder home;
    ASSERT_TRUE(home.valid());
    const std::filesystem::path fonts = home.path() / "fonts";
    std::filesystem::create_directories(fonts);
    const std::filesystem::path configuration = home.path() / "fonts.conf";
    writeWholeFile(configuration, "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" +
                                      fonts.string() + "</dir>\n  <cachedir>" +
                                      (home.path() / "font-cache").string() +
                                      "</cachedir>\n</fontconfig>\n");

    ChildOptions options;
    options.arguments = {"start"};
    options.environment = {{"XDG_DATA_HOME", home.path().string()},
                           {"FONTCONFIG_FILE", configuration.string()},
                           {"QT_QPA_PLATFORM", "offscreen"},
                           {"NORVESSA_QUIT_AFTER_FIRST_SHOW", "1"}};
    Child copy(NORVESSA_SOAK_DRIVER, options, home.path(), "start");
    ASSERT_TRUE(copy.started());
    const ChildResult result =
        copy.wait(std::chrono::steady_clock::now() + std::chrono::minutes(1));

    EXPECT_TRUE(result.exited && result.exitStatus == 0) << result.describe();
    EXPECT_EQ(occurrences(result.errors, "Chinese fonts: none of 宋体, SimSun"), 1U)
        << result.errors;
    EXPECT_EQ(occurrences(result.errors, "error report:"), 0U) << result.errors;
    EXPECT_TRUE(std::filesystem::exists(home.databaseFile())) << "the start went all the way";
}

}  // namespace
}  // namespace norvessa::soak
