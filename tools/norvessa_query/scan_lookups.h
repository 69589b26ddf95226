#pragma once

// The lookups by model prefix, ID bytes and controller: one full scan of the lookup table
// with a row predicate, every match listed with its sequence number and all its fields.

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/jet/database.h"
#include "tools/norvessa_query/result_table.h"

namespace norvessa::query {

// Inputs come normalised: a trimmed, non-blank text (typed_input.h) or parsed ID bytes
// (id_bytes.h).

// Columns: 序号, then the table's columns in table order.
ResultTable lookUpByModelPrefix(const jet::Table& table, std::string_view prefix);
ResultTable lookUpByIdBytes(const jet::Table& table, std::span<const std::uint8_t> wanted);

// Columns: 序号, 主控厂商 (the controller maker column the name was found in), then the
// table's columns. A record that names the controller under two makers is listed once for each.
ResultTable lookUpByController(const jet::Table& table, std::string_view name);

}  // namespace norvessa::query
