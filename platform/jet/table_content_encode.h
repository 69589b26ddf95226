#pragma once

// The writer's model of a table, and how a table the caller asks for becomes one: its columns
// laid out as descriptors, its indexes, its auto-number counter and the column properties
// Access keeps in the catalog (MSysObjects.LvProp).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/table_definition_page.h"
#include "platform/jet/value.h"
#include "platform/jet/writer.h"

namespace norvessa::jet {

// A table as the writer lays it out. The definition holds the columns and indexes; page
// numbers, usage maps, counts and index roots are filled in once the pages are placed.
struct TableContent {
    std::string name;
    std::int32_t catalogFlags = 0;  // MSysObjects.Flags
    TableDefinitionBlock definition;
    std::vector<std::vector<Value>> rows;  // one value per column, in column order
    std::vector<std::uint8_t> properties;  // MSysObjects.LvProp; empty: none
};

// Checks the table's names, types, indexes and row widths and lays it out under `sortOrder`.
// Text and memo columns get the properties Required no, AllowZeroLength yes and
// UnicodeCompression as asked. Throws JetError (InvalidArgument, Unsupported, NotFound) with a
// message naming the table and what is wrong.
TableContent userTableContent(const NewTable& table, std::uint16_t sortOrder);

// UTF-8 to UTF-16; throws JetError(InvalidArgument) naming `what` when the text is not UTF-8.
std::u16string checkedUtf16(const std::string& utf8, const std::string& what);

// Whether two names are one for Jet, which ignores letter case.
bool sameName(std::u16string_view left, std::u16string_view right);

}  // namespace norvessa::jet
