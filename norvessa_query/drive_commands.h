#pragma once

// norvessa-query's drive side: --decode, --drives and --probe, over drive/ and, for the records
// that answer to a flash ID, the lookup database.

#include <ostream>
#include <span>

#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"

namespace norvessa::query {

// Runs a DecodeId, Drives or Probe request. Throws UsageError for input it cannot use and the
// drive and database layers' errors for the rest.
ExitStatus runDriveCommand(const QueryRequest& request, std::ostream& out, std::ostream& errors);

// The records of the lookup database whose ID号 begins with `id`, as --id finds them.
ResultTable recordsForId(const DatabaseChoice& database, std::span<const std::uint8_t> id);

}  // namespace norvessa::query
