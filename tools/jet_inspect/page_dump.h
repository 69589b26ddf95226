#pragma once

// Prints one page of a database file field by field, naming each field as the format's layout
// tables do (platform/jet/layout.h), like SQLite's showdb.

#include <cstdint>
#include <ostream>

#include "platform/jet/database_file.h"

namespace norvessa::jet::inspect {

void dumpPage(const DatabaseFile& file, std::uint32_t page, std::ostream& out);

}  // namespace norvessa::jet::inspect
