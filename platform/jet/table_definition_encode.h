#pragma once

// Encoder for table definitions (type 0x02): the logical buffer of table_definition_page.h
// (header block, unique-entry counts, column descriptors and names, real and logical indexes,
// long-value column maps, terminator) cut into a first page and continuation pages.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/table_definition_page.h"

namespace norvessa::jet {

// A column before it has its place in the row.
struct ColumnSpec {
    std::u16string name;
    std::uint8_t type = 0;  // ColumnType value, or another type code the format knows
    std::uint16_t length = 0;
    std::uint8_t flags = 0;  // layout::tdef::column::kFlag*
    std::uint8_t extendedFlags = 0;
};

// Gives `definition` its columns, numbered in the given order: fixed-length columns get
// consecutive fixed offsets (booleans none: their value is the null-mask bit), variable-length
// ones consecutive var indexes, memo and OLE columns an entry for their long-value maps. Every
// column carries `sortOrder`, as Access writes it.
void setColumns(TableDefinitionBlock& definition, std::span<const ColumnSpec> specs,
                std::uint16_t sortOrder);

// Adds an index backed by a real index of its own, its logical entry written as Access writes
// one that is not a foreign key.
void addIndex(TableDefinitionBlock& definition, std::u16string name,
              std::vector<IndexColumn> columns, std::uint8_t flags, bool primaryKey);

// Length in bytes of the logical buffer, the first page's 8-byte header included.
std::size_t tableDefinitionLength(const TableDefinitionBlock& block);

// Pages the definition needs: the first page holds 4096 bytes of the buffer, each continuation
// page 4088 more. The count does not depend on page numbers or map pointers.
std::size_t tableDefinitionPageCount(const TableDefinitionBlock& block);

// The definition's pages; `pageNumbers` names where each goes (the first page, then its
// continuation pages) and must have tableDefinitionPageCount() entries.
std::vector<std::vector<std::uint8_t>> encodeTableDefinition(
    const TableDefinitionBlock& block, std::span<const std::uint32_t> pageNumbers);

}  // namespace norvessa::jet
