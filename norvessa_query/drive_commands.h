#pragma once

// norvessa-query's drive side: --decode, --drives and --probe, over drive/ and, for the records
// that answer to a flash ID, the lookup database.

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "drive/drive_report.h"
#include "drive/scsi_transport.h"

#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"

namespace norvessa::query {

// Opens the SCSI generic node a probe talks through: SG_IO on Linux, a fake in tests. The
// node must be the device `expected` (its number in sysfs), else nothing is sent.
using TransportOpener = std::function<std::unique_ptr<drive::ScsiTransport>(
    const std::filesystem::path& node, drive::DeviceNumber expected)>;

std::unique_ptr<drive::ScsiTransport> openSgIo(const std::filesystem::path& node,
                                               drive::DeviceNumber expected);

// Runs a request whose mode isDriveCommand() says is one. Throws UsageError for input it cannot
// use and the drive and database layers' errors for the rest. A probe whose transport failed
// prints what it read and returns kFailed.
ExitStatus runDriveCommand(const QueryRequest& request, std::ostream& out, std::ostream& errors,
                           const TransportOpener& openTransport = openSgIo);

// The records of the lookup database whose ID号 begins with `id`, as --id finds them.
// The database's warnings about the file it read are added to `warnings`.
ResultTable recordsForId(const DatabaseChoice& database, std::span<const std::uint8_t> id,
                         std::vector<std::string>* warnings = nullptr);

// The records of the longest prefix of an ID that any record begins with: the whole ID, else
// its first 7, 6, 5 or 4 bytes (the database stores most IDs with 5 or 6 bytes); --decode and
// --probe alike. comparedBytes is 0 when none answers.
inline constexpr std::size_t kShortestRecordPrefix = 4;
struct IdRecords {
    std::size_t comparedBytes = 0;
    ResultTable table;
};
IdRecords longestPrefixRecords(const DatabaseChoice& database, std::span<const std::uint8_t> id,
                               std::vector<std::string>* warnings = nullptr);

// The flash model and the controller chips (maker column, chip) of each record found.
drive::SupportRecords supportOf(const IdRecords& found);

// The records for a flash ID a drive answered with (longestPrefixRecords), with the controller
// chips of each.
drive::SupportRecords supportRecordsForId(const DatabaseChoice& database,
                                          std::span<const std::uint8_t> id,
                                          std::vector<std::string>* warnings = nullptr);

}  // namespace norvessa::query
