#include "tools/norvessa_query/lookup_table.h"

#include <stdexcept>
#include <string>

namespace norvessa::query {

std::size_t columnPosition(const jet::TableDefinition& table, std::string_view column) {
    for (std::size_t position = 0; position < table.columns.size(); ++position) {
        if (table.columns[position].name == column) {
            return position;
        }
    }
    throw std::runtime_error("table " + table.name + " has no column " + std::string(column) +
                             "; is this a Norvessa lookup database?");
}

}  // namespace norvessa::query
