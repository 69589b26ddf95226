#include "platform/core/program_resource.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/platform_error.h"

namespace {

#ifdef _WIN32
// A program built without its resources must say which one it misses and why, not crash.
TEST(ProgramResource, AMissingResourceIsNamedWithTheSystemsReason) {
    try {
        norvessa::platform::programResource(4242, "CUSTOM");
        FAIL() << "resource 4242 does not exist";
    } catch (const norvessa::platform::PlatformError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("resource 4242 of type \"CUSTOM\""), std::string::npos) << message;
        EXPECT_NE(message.find("(error 18"), std::string::npos) << message;
    }
}
#endif

}  // namespace
