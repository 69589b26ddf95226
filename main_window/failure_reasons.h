#pragma once

// What the user is told when start-up or a lookup fails: what went wrong with the database file,
// in words a user understands, and where that file lies on this machine.

#include <exception>
#include <string>

namespace norvessa::main_window {

// The database file as the user can find it: where it lies on this machine, or the program's own
// path for it where it cannot be placed.
std::string shownDatabaseFile();

// Why a lookup failed, from the failure of the database access component.
std::string lookupFailureReason(const std::exception_ptr& failure);

// Why start-up failed while writing the carried database out.
std::string databaseUnwritableReason();

}  // namespace norvessa::main_window
