#pragma once

// The engine's own tables that every database holds (MSysObjects, the catalog; MSysACEs,
// MSysQueries, MSysRelationships; Access's MSysAccessObjects and MSysAccessXML), defined as
// Access 2000 defines them, and the catalog rows that name every table and container.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/table_content_encode.h"

namespace norvessa::jet {

inline constexpr std::string_view kCatalogTableName = "MSysObjects";

// The six system tables, MSysObjects first, every column with `sortOrder`. Only MSysObjects
// gets rows, from catalogRows().
std::vector<TableContent> systemTables(std::uint16_t sortOrder);

// Whether `name` is one of the system tables' names (letter case ignored).
bool isSystemTableName(std::string_view name);

struct CatalogTable {
    std::string name;
    std::uint32_t definitionPage = 0;
    std::int32_t flags = 0;
    std::vector<std::uint8_t> properties;
};

// The rows of MSysObjects: the containers, the database object and its property documents,
// and one row per table, all created at `creationDate`.
std::vector<std::vector<Value>> catalogRows(std::span<const CatalogTable> tables,
                                            double creationDate);

}  // namespace norvessa::jet
