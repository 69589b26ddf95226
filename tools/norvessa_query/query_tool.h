#pragma once

// norvessa-query as a function: what main() does, callable in-process.

#include <ostream>
#include <span>
#include <string>

#include "tools/norvessa_query/command_line.h"

namespace norvessa::query {

enum ExitStatus : int {
    kRecordsFound = 0,
    kNoRecordFound = 1,
    kFailed = 2,  // bad usage or a database error
};

// Parses the arguments (after the program name), runs the lookup and prints the result to
// `out`; messages go to `errors`. Never throws.
ExitStatus runQueryTool(std::span<const std::string> arguments, std::ostream& out,
                        std::ostream& errors);

}  // namespace norvessa::query
