#pragma once

// The lookup database the program carries, for tests that need the real data set. While the
// build still embeds a placeholder instead of the database, those tests skip.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "norvessa_query/lookups.h"
#include "platform/jet/database.h"
#include "platform/jet/errors.h"

namespace norvessa::query::testing {

class ShippedDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        try {
            database_.emplace(openLookupDatabase({}));
        } catch (const jet::JetError& error) {
            if (error.kind() != jet::ErrorKind::UnsupportedFormat) {
                throw;
            }
            GTEST_SKIP() << "the embedded database image is still the placeholder (" << error.what()
                         << ")";
        }
    }

    const jet::Database& database() const { return *database_; }

  private:
    std::optional<jet::Database> database_;
};

}  // namespace norvessa::query::testing
