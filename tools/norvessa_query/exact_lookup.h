#pragma once

// The windows program's lookup: the same model key, the same statement, run by the same
// statement parser and record set snapshot as its database access component uses, so that both
// programs find exactly the same records.

#include <string>
#include <string_view>

#include "platform/jet/database.h"
#include "tools/norvessa_query/result_table.h"

namespace norvessa::query {

// "select * from velthorn42 where FLASH型号 ='" + key + " '", an apostrophe in the key doubled
// so that it stays inside the literal.
std::string exactLookupStatement(std::string_view modelKey);

// Columns: 序号, then the table's columns in table order. Throws sql::SqlError, ado::AdoError
// or jet::JetError.
ResultTable lookUpExactModel(const jet::Database& database, std::string_view modelKey);

}  // namespace norvessa::query
