#pragma once

// The four lookups behind one call: the typed text is checked and normalised first, so bad
// input is reported as such whatever state the database is in, then the lookup runs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/database.h"
#include "tools/norvessa_query/command_line.h"
#include "tools/norvessa_query/result_table.h"

namespace norvessa::query {

struct LookupInput {
    LookupMode mode = LookupMode::ExactModel;
    std::string text;                   // the model key, prefix or controller name
    std::vector<std::uint8_t> idBytes;  // IdBytes only
};

// Throws UsageError for input the mode cannot use (blank prefix or name, bad ID bytes).
LookupInput prepareLookupInput(LookupMode mode, std::string_view typed);

// Throws the database layers' errors (sql::SqlError, ado::AdoError, jet::JetError) or
// std::runtime_error for a database without the lookup table's columns.
ResultTable runLookup(const jet::Database& database, const LookupInput& input);

// Prepares the input, opens the database the request names and runs the lookup.
ResultTable runLookup(const QueryRequest& request);

}  // namespace norvessa::query
