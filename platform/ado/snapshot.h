#pragma once

// Runs a parsed query against an open database and keeps the result: what a client-side,
// static record set holds from Open to Close.

#include <cstddef>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/value.h"
#include "platform/sql/query.h"

namespace norvessa::ado {

struct Snapshot {
    std::size_t fieldCount = 0;  // the table's columns, in table order
    // The matching rows: in index order when an index was searched, else in storage order.
    std::vector<std::vector<jet::Value>> rows;
};

// Throws AdoError when the table or column does not exist or the column is not text, and
// passes on the engine's JetError when the file is damaged.
Snapshot takeSnapshot(const jet::Database& database, const sql::SelectQuery& query);

}  // namespace norvessa::ado
