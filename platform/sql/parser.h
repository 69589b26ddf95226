#pragma once

// Parses the one statement form the lookup runs:
//   SELECT * FROM <table> WHERE <column> = '<text>' [;]
// Keywords and names may be written in any letter case; names plain or in [brackets]; the
// literal in single quotes with '' standing for one apostrophe. Every other statement, even
// valid Jet SQL, is refused with an error rather than run differently from what it says.

#include <string_view>

#include "platform/sql/query.h"

namespace norvessa::sql {

// Throws SqlError (Syntax or NotSupported) naming the character where the problem lies.
SelectQuery parseSelect(std::string_view statement);

}  // namespace norvessa::sql
