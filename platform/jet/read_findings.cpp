#include "platform/jet/read_findings.h"

#include <algorithm>

#include "platform/jet/byte_cursor.h"

namespace norvessa::jet {

void ReadFindings::compareRowCount(const std::string& table, std::uint32_t definitionPage,
                                   std::uint32_t found, std::uint32_t recorded) {
    if (found == recorded) {
        return;
    }
    if (writer_ == WrittenBy::ThisProgram) {
        throwCorrupt(Location{"table definition", definitionPage, std::nullopt},
                     "the file is damaged: table \"" + table + "\" has " + std::to_string(found) +
                         " rows, but its definition records " + std::to_string(recorded));
    }
    warn(fileName_ + ": table \"" + table + "\" holds " + std::to_string(found) +
         " rows, but its definition records " + std::to_string(recorded) + "; all " +
         std::to_string(found) + " rows are read");
}

void ReadFindings::reportColumnDefects(const std::string& table, std::uint32_t definitionPage,
                                       const std::vector<ColumnDefect>& defects) {
    for (const ColumnDefect& defect : defects) {
        if (!defect.rowsReadExactly || writer_ == WrittenBy::ThisProgram) {
            throwCorrupt(Location{"table definition", definitionPage, std::nullopt},
                         "the file is damaged: table \"" + table + "\", column \"" + defect.column +
                             "\": " + defect.problem);
        }
    }
    for (const ColumnDefect& defect : defects) {
        warn(fileName_ + ": table \"" + table + "\", column \"" + defect.column +
             "\": " + defect.problem + "; reading does not depend on it, every row is read");
    }
}

void ReadFindings::warn(std::string warning) {
    const std::lock_guard lock(mutex_);
    if (std::find(warnings_.begin(), warnings_.end(), warning) == warnings_.end()) {
        warnings_.push_back(std::move(warning));
    }
}

std::vector<std::string> ReadFindings::warnings() const {
    const std::lock_guard lock(mutex_);
    return warnings_;
}

}  // namespace norvessa::jet
