#pragma once

// The one table of the lookup database and the columns the lookups search by name. The table
// has no index on the columns searched here, so every lookup scans it whole.

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/jet/schema.h"

namespace norvessa::query {

inline constexpr std::string_view kLookupTable = "velthorn42";
inline constexpr std::string_view kModelColumn = "FLASH型号";
inline constexpr std::string_view kIdBytesColumn = "ID号";
// The ten controller makers, one column each, in table order.
inline constexpr std::array<std::string_view, 10> kControllerMakerColumns = {
    "慧荣", "群联", "联阳", "安国", "擎泰", "鑫创", "银灿", "芯邦", "迈科微", "我想"};

// Position of the named column in the table. Throws std::runtime_error naming the table and
// column when it has none, as for a database file that is not a Norvessa lookup database.
std::size_t columnPosition(const jet::TableDefinition& table, std::string_view column);

}  // namespace norvessa::query
