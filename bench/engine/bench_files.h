#pragma once

// The lookup table at a given size as a Jet file (written by our writer, with the lookup
// table's indexes) and as SQLite files with the same rows, without and with indexes: the shipped
// data set's rows, repeated with fresh ids when more rows are wanted.

#include <cstddef>
#include <filesystem>

namespace norvessa::bench {

inline constexpr const char* kPassword = "20240102";
inline constexpr const char* kTable = "velthorn42";
inline constexpr const char* kModel = "MT29F64G08";        // 9 rows in the shipped data set
inline constexpr const char* kIdBytes = "EC D3 14 A5";     // the ID bytes --id looks up
inline constexpr const char* kIdBytesEnd = "EC D3 14 A6";  // the first text after that prefix

// How many rows the shipped data set has.
std::size_t shippedRowCount();

// Each writes its file unless it is already there and returns the path. Throws when the
// file cannot be written (e.g. a size the writer does not support).
std::filesystem::path jetFile(std::size_t rowCount);
std::filesystem::path sqliteFile(std::size_t rowCount);
// The same rows with indexes on the model and on the ID bytes.
std::filesystem::path sqliteIndexedFile(std::size_t rowCount);

}  // namespace norvessa::bench
