#include "tools/norvessa_query/scan_lookups.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "tools/norvessa_query/id_bytes.h"
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

// Where an index walk over stored ID values goes after `text`, which does not match: past every
// value that starts with the same pairs up to the first one that differs from the wanted
// bytes, when all of them are plain pairs (a pair with alternatives, "15/10", may still match).
jet::IndexWalkStep stepAfterMismatch(std::string_view text, std::span<const std::uint8_t> wanted) {
    std::size_t groupStart = 0;
    for (const std::uint8_t byte : wanted) {
        const std::size_t groupEnd = text.find(' ', groupStart);
        if (groupEnd == std::string_view::npos) {
            return {};
        }
        const std::string_view group = text.substr(groupStart, groupEnd - groupStart);
        const std::optional<std::uint8_t> pair = hexPair(group);
        if (!pair) {
            return {};
        }
        if (*pair != byte) {
            return {jet::IndexWalkStep::Kind::SkipPast, std::string(text.substr(0, groupEnd + 1))};
        }
        groupStart = groupEnd + 1;
    }
    return {};
}

}  // namespace

ResultTable lookUpByModelPrefix(const jet::Table& table, std::string_view prefix) {
    return lookUpWhere(table, ModelPrefixMatcher(table.definition(), prefix));
}

ResultTable lookUpByIdBytes(const jet::Table& table, std::span<const std::uint8_t> wanted) {
    const jet::TableDefinition& definition = table.definition();
    const IdBytesMatcher matcher(definition, wanted);
    // Rows found through the index, by where they are stored: the order a scan lists them in.
    std::vector<std::pair<std::uint32_t, std::vector<Cell>>> found;
    const auto keep = [&](std::uint32_t rowPointer, const jet::RowView& row) {
        std::vector<Cell> cells;
        appendFields(cells, row, definition.columns.size());
        found.emplace_back(rowPointer, std::move(cells));
    };
    const bool searched = table.walkTextIndex(
        columnPosition(definition, kIdBytesColumn), [&](const jet::IndexedRow& entry) {
            const std::optional<std::string>& text = entry.keyText();
            if (!text) {
                entry.readRow([&](const jet::RowView& row) {
                    if (matcher.matches(row)) {
                        keep(entry.rowPointer(), row);
                    }
                });
                return jet::IndexWalkStep{};
            }
            if (storedIdBeginsWith(*text, wanted)) {
                entry.readRow([&](const jet::RowView& row) { keep(entry.rowPointer(), row); });
                return jet::IndexWalkStep{};
            }
            return stepAfterMismatch(*text, wanted);
        });
    if (!searched) {
        return lookUpWhere(table, matcher);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& left, const auto& right) { return left.first < right.first; });
    ResultTable result{resultColumns(definition, {kSequenceColumn}), {}};
    for (auto& [rowPointer, cells] : found) {
        cells.insert(cells.begin(), Cell::fromInteger(nextSequenceNumber(result)));
        result.rows.push_back(std::move(cells));
    }
    return result;
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
