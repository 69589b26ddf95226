#pragma once

// Checks each column descriptor of a table definition against what else the definition says:
// the column and variable-column counts, the other columns' numbers, var indexes and fixed
// places, the indexes and long-value maps that name columns, and the type codes, lengths and
// flags Jet writes. A damaged descriptor would otherwise read as Nulls, defaults or raw bytes.

#include <string>
#include <vector>

#include "platform/jet/read_findings.h"
#include "platform/jet/schema.h"
#include "platform/jet/table_definition_page.h"

namespace norvessa::jet {

// What is wrong with the definition's columns, the defects that spoil values first. `writer`
// adds what only this program's writer promises (text and binary columns variable-length, no type
// 0x0D).
std::vector<ColumnDefect> checkColumns(const TableDefinitionBlock& block, WrittenBy writer);

}  // namespace norvessa::jet
