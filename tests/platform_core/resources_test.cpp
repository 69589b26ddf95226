#include "platform/core/resources.h"

#include <gtest/gtest.h>

#include "platform/core/platform_error.h"
#include "resources/database_image.h"

using norvessa::platform::loadCustomResource;
using norvessa::platform::PlatformError;

TEST(CustomResources, TheDatabaseImageIsCarriedAndOthersAreNot) {
    EXPECT_FALSE(norvessa::resources::loadDatabaseImage().empty());
    try {
        loadCustomResource(102, "CUSTOM");
        FAIL() << "resource 102 does not exist";
    } catch (const PlatformError& error) {
        EXPECT_STREQ(error.what(),
                     "cannot read resource 102 of type \"CUSTOM\": the program does not carry it");
    }
}
