#pragma once

// Opens the lookup database a request names: the image the program carries, or a file.

#include <string>

#include "platform/jet/database.h"
#include "tools/norvessa_query/command_line.h"

namespace norvessa::query {

// The password given with --password, else the program's own.
std::string databasePassword(const DatabaseChoice& choice);

// Throws jet::JetError or platform::PlatformError with a message naming the image or file.
jet::Database openLookupDatabase(const DatabaseChoice& choice);

}  // namespace norvessa::query
