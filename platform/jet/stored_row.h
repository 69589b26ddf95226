#pragma once

// One stored row during a scan: decodes the values of its columns on demand.

#include <cstddef>

#include "platform/jet/database.h"
#include "platform/jet/row_layout.h"

namespace norvessa::jet {

class DatabaseFile;
struct StoredTable;

class StoredRow final : public RowView {
  public:
    // Errors name the row's location; the scan adds the file name.
    StoredRow(const DatabaseFile& file, const StoredTable& table, const RowLayout& row)
        : file_(file), table_(table), row_(row) {}

    Value value(std::size_t position) const override;
    bool textEquals(std::size_t position, const TextKey& key) const override;
    bool textStartsWith(std::size_t position, const TextKey& prefix) const override;
    bool textContains(std::size_t position, const TextKey& key) const override;

  private:
    const Column& column(std::size_t position) const;
    [[noreturn, gnu::cold]] void failNoSuchColumn(std::size_t position) const;
    std::span<const std::uint8_t> storedBytes(const Column& column) const;

    const DatabaseFile& file_;
    const StoredTable& table_;
    const RowLayout& row_;
};

}  // namespace norvessa::jet
