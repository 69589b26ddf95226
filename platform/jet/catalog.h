#pragma once

// The catalog: the rows of MSysObjects (table definition at page 2) that name the database's
// objects.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/layout.h"
#include "platform/jet/read_findings.h"

namespace norvessa::jet {

class DatabaseFile;

struct CatalogEntry {
    std::string name;
    std::uint32_t id = 0;
    std::int16_t type = 0;
    std::uint32_t flags = 0;

    bool isTable() const {
        return (type & layout::catalog::kTypeMask) == layout::catalog::kTypeTable;
    }
    bool isSystem() const {
        return (flags &
                (layout::catalog::kFlagsEngineSystem | layout::catalog::kFlagsAccessSystem)) != 0;
    }
    std::uint32_t definitionPage() const { return id & layout::catalog::kIdPageMask; }
};

// Every catalog row, in storage order. Throws JetError(Corrupt) when MSysObjects lacks one of
// the columns Id, Name, Type and Flags. MSysObjects' row count goes to `findings`.
std::vector<CatalogEntry> readCatalog(const DatabaseFile& file, ReadFindings& findings);

// The table named `name` (letter case ignored), without decoding the other catalog rows.
std::optional<CatalogEntry> findTable(const DatabaseFile& file, std::string_view name,
                                      ReadFindings& findings);

}  // namespace norvessa::jet
