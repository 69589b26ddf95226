#pragma once

// A lookup database of any size for benchmarks: the rows of the data set repeated with fresh
// ids until the table has the wanted number of rows.

#include <cstddef>
#include <filesystem>
#include <string>

namespace norvessa::query::bench {

// Writes the file unless it is already there; returns its path. The password is the program's.
std::filesystem::path largeLookupDatabase(std::size_t rowCount);

}  // namespace norvessa::query::bench
