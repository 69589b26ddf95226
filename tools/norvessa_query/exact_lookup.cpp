#include "tools/norvessa_query/exact_lookup.h"

#include "platform/ado/snapshot.h"
#include "platform/sql/parser.h"

namespace norvessa::query {

std::string exactLookupStatement(std::string_view modelKey) {
    std::string statement = "select * from velthorn42 where FLASH型号 ='";
    for (const char character : modelKey) {
        if (character == '\'') {
            statement += '\'';
        }
        statement += character;
    }
    return statement + " '";
}

ResultTable lookUpExactModel(const jet::Database& database, std::string_view modelKey) {
    const sql::SelectQuery query = sql::parseSelect(exactLookupStatement(modelKey));
    const ado::Snapshot snapshot = ado::takeSnapshot(database, query);

    const jet::Table table = database.table(query.table);
    ResultTable result;
    result.columns.emplace_back(kSequenceColumn);
    for (const auto& column : table.definition().columns) {
        result.columns.push_back(column.name);
    }
    for (const auto& values : snapshot.rows) {
        std::vector<Cell>& cells = result.rows.emplace_back();
        cells.push_back(Cell::fromInteger(static_cast<long long>(result.rows.size())));
        for (const auto& value : values) {
            cells.push_back(Cell::fromValue(value));
        }
    }
    return result;
}

}  // namespace norvessa::query
