#include "tools/norvessa_query/scan_lookups.h"

#include <string>

#include "tools/norvessa_query/lookup_table.h"
#include "tools/norvessa_query/record_matchers.h"

namespace norvessa::query {

namespace {

std::vector<std::string> resultColumns(const jet::TableDefinition& table,
                                       std::initializer_list<const char*> leading) {
    std::vector<std::string> columns(leading.begin(), leading.end());
    for (const auto& column : table.columns) {
        columns.push_back(column.name);
    }
    return columns;
}

void appendFields(std::vector<Cell>& cells, const jet::RowView& row, std::size_t fieldCount) {
    for (std::size_t position = 0; position < fieldCount; ++position) {
        cells.push_back(Cell::fromValue(row.value(position)));
    }
}

long long nextSequenceNumber(const ResultTable& result) {
    return static_cast<long long>(result.rows.size()) + 1;
}

template <typename Matcher>
ResultTable lookUpWhere(const jet::Table& table, const Matcher& matcher) {
    const jet::TableDefinition& definition = table.definition();
    ResultTable result{resultColumns(definition, {kSequenceColumn}), {}};
    table.scan([&](const jet::RowView& row) {
        if (matcher.matches(row)) {
            std::vector<Cell> cells{Cell::fromInteger(nextSequenceNumber(result))};
            appendFields(cells, row, definition.columns.size());
            result.rows.push_back(std::move(cells));
        }
        return jet::ScanControl::Continue;
    });
    return result;
}

}  // namespace

ResultTable lookUpByModelPrefix(const jet::Table& table, std::string_view prefix) {
    return lookUpWhere(table, ModelPrefixMatcher(table.definition(), prefix));
}

ResultTable lookUpByIdBytes(const jet::Table& table, std::span<const std::uint8_t> wanted) {
    return lookUpWhere(table, IdBytesMatcher(table.definition(), wanted));
}

ResultTable lookUpByController(const jet::Table& table, std::string_view name) {
    const jet::TableDefinition& definition = table.definition();
    const ControllerMatcher matcher(definition, name);
    ResultTable result{resultColumns(definition, {kSequenceColumn, kControllerMakerColumn}), {}};
    table.scan([&](const jet::RowView& row) {
        for (const std::size_t maker : matcher.matchingMakers(row)) {
            std::vector<Cell> cells{Cell::fromInteger(nextSequenceNumber(result)),
                                    Cell::fromText(std::string(kControllerMakerColumns[maker]))};
            appendFields(cells, row, definition.columns.size());
            result.rows.push_back(std::move(cells));
        }
        return jet::ScanControl::Continue;
    });
    return result;
}

}  // namespace norvessa::query
