#pragma once

// Parses the one statement form the lookup runs, and its prefix form:
//   SELECT * FROM <table> WHERE <column> = '<text>' [;]
//   SELECT * FROM <table> WHERE <column> LIKE '<text>*' [;]   (or '<text>%')
// A LIKE pattern must be a text without wildcards followed by one * or %.
// Keywords and names may be written in any letter case; names plain or in [brackets]; the
// literal in single quotes with '' standing for one apostrophe. Every other statement, even
// valid Jet SQL, is refused with an error rather than run differently from what it says.

#include <string_view>

#include "platform/sql/query.h"

namespace norvessa::sql {

// Throws SqlError (Syntax or NotSupported) naming the character where the problem lies.
SelectQuery parseSelect(std::string_view statement);

}  // namespace norvessa::sql
