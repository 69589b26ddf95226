#pragma once

// The lookup database as the program ships it: one table, velthorn42, holding the data set's
// records, with its four indexes and the program's password.

#include <span>
#include <string>

#include "platform/jet/writer.h"
#include "tools/dataset/flash_dataset.h"

namespace norvessa::build_database {

inline constexpr const char* kLookupTableName = "velthorn42";

// The schema and rows to write: id a long auto-number, the other 22 columns text of at most 50
// characters with Unicode compression, indexes PrimaryKey and id on id, "ID号" on 位宽 and
// "ID号1" on ID号; the auto-number counter at the largest id.
jet::NewDatabase lookupDatabase(std::span<const dataset::FlashRecord> records,
                                const std::string& password, double creationDate);

}  // namespace norvessa::build_database
