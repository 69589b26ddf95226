#pragma once

// Turns the NAND ID facts CSV (tools/dataset/facts/nand_ids.csv) into a C++ source file that
// defines drive::nandIdFacts(). The output depends on the input alone, so that builds are
// reproducible.

#include <string>
#include <string_view>

namespace norvessa::nand_id_facts {

// Throws dataset::DatasetError naming the line for a column missing from the header, ID bytes
// that are not hexadecimal pairs or "XX", a number that is not a whole number, or a cell type
// other than SLC, MLC, TLC and QLC. Rows without ID bytes are left out.
std::string generateFactsSource(std::string_view csvText, std::string_view sourceName);

}  // namespace norvessa::nand_id_facts
