#pragma once

// The lookup table at a given size as a Jet file (written by our writer) and as an SQLite
// file with the same rows and no index: the shipped data set's rows, repeated with fresh ids
// when more rows are wanted.

#include <cstddef>
#include <filesystem>

namespace norvessa::bench {

inline constexpr const char* kPassword = "20240102";
inline constexpr const char* kTable = "velthorn42";
inline constexpr const char* kModel = "MT29F64G08";  // 9 rows in the shipped data set

// Each writes its file unless it is already there and returns the path. Throws when the
// file cannot be written (e.g. a size the writer does not support).
std::filesystem::path jetFile(std::size_t rowCount);
std::filesystem::path sqliteFile(std::size_t rowCount);

}  // namespace norvessa::bench
