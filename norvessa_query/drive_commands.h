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

// Opens the SCSI generic node a probe talks through: SG_IO on Linux, a fake in tests.
using TransportOpener =
    std::function<std::unique_ptr<drive::ScsiTransport>(const std::filesystem::path& node)>;

std::unique_ptr<drive::ScsiTransport> openSgIo(const std::filesystem::path& node);

// Runs a DecodeId, Drives or Probe request. Throws UsageError for input it cannot use and the
// drive and database layers' errors for the rest.
ExitStatus runDriveCommand(const QueryRequest& request, std::ostream& out, std::ostream& errors,
                           const TransportOpener& openTransport = openSgIo);

// The records of the lookup database whose ID号 begins with `id`, as --id finds them.
// The database's warnings about the file it read are added to `warnings`.
ResultTable recordsForId(const DatabaseChoice& database, std::span<const std::uint8_t> id,
                         std::vector<std::string>* warnings = nullptr);

// The records for a flash ID a drive answered with: those that begin with the whole ID, else
// with its first 7, 6, 5 or 4 bytes (the database stores most IDs with 5 or 6 bytes), with the
// controller chips of each.
drive::SupportRecords supportRecordsForId(const DatabaseChoice& database,
                                          std::span<const std::uint8_t> id,
                                          std::vector<std::string>* warnings = nullptr);

}  // namespace norvessa::query
