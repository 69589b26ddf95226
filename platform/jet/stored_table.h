#pragma once

// A table as a scan needs it: the schema plus where the table's pages are listed and how its
// rows are laid out; and the scan itself over the owned-pages usage map.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/read_findings.h"
#include "platform/jet/schema.h"
#include "platform/jet/table_definition_page.h"

namespace norvessa::jet {

class DatabaseFile;

struct StoredTable {
    TableDefinition definition;
    std::uint32_t ownedPagesMap = 0;         // row pointer
    bool hasVariableColumns = false;         // rows carry the variable-column trailer
    std::vector<std::uint8_t> numericScale;  // per column position; NUMERIC columns only
    std::vector<RealIndexDescriptor> realIndexes;
};

// Reads and decodes the table definition at `page` and checks its columns, handing what does
// not spoil values to `findings` as warnings. Throws JetError(Corrupt), also when the pages
// its usage map and index roots lead to all record another table as their owner: a
// definition page copied or swapped in from elsewhere would otherwise read as that table.
StoredTable loadStoredTable(const DatabaseFile& file, std::uint32_t page, std::string name,
                            ReadFindings& findings);

// Visits each live row: pages in the order of the usage map, rows in slot order. Deleted rows
// are skipped; an overflow pointer is followed to the moved row, which is visited in the
// pointer's place (and not again where it is stored). A scan that runs to the end hands the
// rows it found and the recorded count to `findings`. Throws JetError(Corrupt).
void scanStoredTable(const DatabaseFile& file, const StoredTable& table, ReadFindings& findings,
                     const std::function<ScanControl(const RowView&)>& visit);

// Hands the row stored at `page`, `row` to `visit`, following an overflow pointer, as an index
// entry leads to it. Throws JetError(Corrupt) when the slot holds no row of the table.
ScanControl visitRowAt(const DatabaseFile& file, const StoredTable& table, std::uint32_t page,
                       std::uint8_t row, const std::function<ScanControl(const RowView&)>& visit);

// Runs `work`, prefixing the message of any JetError it throws with the file's name.
template <class Work>
decltype(auto) withFileName(const DatabaseFile& file, Work&& work);

}  // namespace norvessa::jet

#include "platform/jet/database_file.h"
#include "platform/jet/errors.h"

namespace norvessa::jet {

template <class Work>
decltype(auto) withFileName(const DatabaseFile& file, Work&& work) {
    try {
        return work();
    } catch (const JetError& error) {
        throw JetError(error.kind(), file.displayName() + ": " + error.what());
    }
}

}  // namespace norvessa::jet
