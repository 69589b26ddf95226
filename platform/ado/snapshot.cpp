#include "platform/ado/snapshot.h"

#include <string>

#include "platform/ado/ado_error.h"
#include "platform/jet/errors.h"

namespace norvessa::ado {
namespace {

// Jet compares object names the way it compares text: without regard to letter case.
std::size_t findColumn(const jet::TableDefinition& table, const std::string& name) {
    const jet::TextKey wanted(name);
    for (std::size_t position = 0; position < table.columns.size(); ++position) {
        if (jet::TextKey(table.columns[position].name).folded() == wanted.folded()) {
            return position;
        }
    }
    throw AdoError("the table " + table.name + " has no column " + name);
}

jet::Table findTable(const jet::Database& database, const std::string& name) {
    try {
        return database.table(name);
    } catch (const jet::JetError& error) {
        if (error.kind() == jet::ErrorKind::NotFound) {
            throw AdoError("the database has no table " + name);
        }
        throw;
    }
}

jet::TextMatch textMatch(sql::TextComparison comparison) {
    switch (comparison) {
        case sql::TextComparison::Equals:
            return jet::TextMatch::Equals;
        case sql::TextComparison::StartsWith:
            return jet::TextMatch::StartsWith;
    }
    throw AdoError("unknown text comparison");
}

}  // namespace

Snapshot takeSnapshot(const jet::Database& database, const sql::SelectQuery& query) {
    const jet::Table table = findTable(database, query.table);
    const jet::TableDefinition& definition = table.definition();
    const std::size_t column = findColumn(definition, query.condition.column);
    if (definition.columns[column].type != jet::ColumnType::Text) {
        // Jet refuses to compare a number or date column with text ("data type mismatch").
        throw AdoError("the column " + definition.columns[column].name +
                       " is not a text column and cannot be compared with text");
    }

    Snapshot snapshot;
    snapshot.fieldCount = definition.columns.size();
    // An index on the column is searched when there is one (the lookup table's ID号); the model
    // column has none, so the window's lookups scan.
    table.findText(column, textMatch(query.condition.comparison), query.condition.text,
                   [&](const jet::RowView& row) {
                       std::vector<jet::Value>& values = snapshot.rows.emplace_back();
                       values.reserve(snapshot.fieldCount);
                       for (std::size_t position = 0; position < snapshot.fieldCount; ++position) {
                           values.push_back(row.value(position));
                       }
                       return jet::ScanControl::Continue;
                   });
    return snapshot;
}

}  // namespace norvessa::ado
