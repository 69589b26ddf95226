#include "norvessa_query/drive_commands.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>

#include "drive/drive_report.h"
#include "drive/id_answer.h"
#include "drive/json_writer.h"
#include "drive/probe.h"
#include "drive/sg_io_transport.h"
#include "drive/sysfs_drives.h"
#include "drive/units.h"
#include "drive/usb_ids.h"
#include "norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

void writeRecordsText(std::ostream& out, const ResultTable& records,
                      std::span<const std::uint8_t> id) {
    if (records.rows.empty()) {
        out << "Records: no record in the lookup database begins with " << drive::idText(id)
            << '\n';
        return;
    }
    out << "Records in the lookup database whose ID号 begins with " << drive::idText(id) << " ("
        << records.rows.size() << "):\n";
    writeTable(out, records);
}

std::string recordsJson(const ResultTable& records) {
    std::ostringstream text;
    writeJson(text, records);
    return text.str();
}

void writeWarnings(std::ostream& errors, const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) {
        errors << kProgramName << ": warning: " << warning << '\n';
    }
}

ExitStatus runDecode(const QueryRequest& request, std::ostream& out, std::ostream& errors) {
    std::vector<std::uint8_t> id;
    try {
        id = drive::parseIdBytes(request.text);
    } catch (const std::invalid_argument& error) {
        throw UsageError("--decode \"" + request.text + "\": " + error.what());
    }
    const drive::IdAnswer answer = drive::answerId(id);
    std::vector<std::string> warnings;
    const ResultTable records = recordsForId(request.database, id, &warnings);
    writeWarnings(errors, warnings);
    if (request.format == OutputFormat::Json) {
        drive::JsonWriter json(out);
        json.beginObject();
        drive::writeIdAnswerJson(json, answer);
        json.raw("records", recordsJson(records));
        json.endObject();
    } else {
        drive::writeIdAnswerText(out, answer);
        out << '\n';
        writeRecordsText(out, records, id);
    }
    return answer.parts.empty() && records.rows.empty() ? kNoRecordFound : kRecordsFound;
}

std::optional<std::filesystem::path> usbIdsFile(const QueryRequest& request) {
    if (request.usbIds) {
        if (!std::filesystem::exists(*request.usbIds)) {
            throw std::runtime_error("--usb-ids: no file " + request.usbIds->string());
        }
        return request.usbIds;
    }
    return drive::systemUsbIds();
}

void writeReports(std::ostream& out, const std::vector<drive::DriveReport>& reports,
                  OutputFormat format) {
    if (format == OutputFormat::Json) {
        drive::JsonWriter json(out);
        json.beginArray();
        for (const drive::DriveReport& report : reports) {
            json.beginObject();
            drive::writeDriveReportJson(json, report);
            json.endObject();
        }
        json.endArray();
        return;
    }
    for (std::size_t index = 0; index < reports.size(); ++index) {
        out << (index == 0 ? "" : "\n");
        drive::writeDriveReportText(out, reports[index]);
    }
}

ExitStatus runDrives(const QueryRequest& request, std::ostream& out, std::ostream& errors) {
    const std::vector<drive::UsbDrive> drives = drive::listUsbDrives(request.sysfsRoot);
    const auto usbIds = usbIdsFile(request);
    std::vector<drive::DriveReport> reports;
    for (const drive::UsbDrive& found : drives) {
        reports.push_back(drive::reportOf(found, usbIds));
    }
    writeReports(out, reports, request.format);
    if (drives.empty()) {
        errors << kProgramName << ": no USB mass-storage drive found\n";
        return kNoRecordFound;
    }
    return kRecordsFound;
}

ExitStatus runProbe(const QueryRequest& request, std::ostream& out, std::ostream& errors,
                    const TransportOpener& openTransport) {
    std::string device(requireNonBlank(request.text, "--probe"));
    // A link such as /dev/disk/by-id/usb-... names the node it leads to.
    std::error_code error;
    if (const auto node = std::filesystem::canonical(device, error); !error) {
        device = node.string();
    }
    const std::vector<drive::UsbDrive> drives = drive::listUsbDrives(request.sysfsRoot);
    const auto found = drive::findUsbDrive(drives, device);
    if (!found) {
        throw std::runtime_error(device +
                                 " is no USB mass-storage drive in sysfs (--drives lists them)");
    }
    if (!found->sgName) {
        throw std::runtime_error(device +
                                 " has no SCSI generic node: load the sg module (modprobe sg)");
    }
    drive::DriveReport report = drive::reportOf(*found, usbIdsFile(request));
    const auto transport = openTransport(std::filesystem::path("/dev") / *found->sgName);
    drive::ProbeResult probe = drive::probeDrive(*transport, report.hints);
    const bool answered = probe.answered() || !probe.flashIds.empty();
    std::vector<std::string> warnings;
    drive::addProbe(report, std::move(probe), [&](std::span<const std::uint8_t> id) {
        return supportRecordsForId(request.database, id, &warnings);
    });
    std::sort(warnings.begin(), warnings.end());
    warnings.erase(std::unique(warnings.begin(), warnings.end()), warnings.end());
    writeWarnings(errors, warnings);
    writeReports(out, {report}, request.format);
    return answered ? kRecordsFound : kNoRecordFound;
}

}  // namespace

std::unique_ptr<drive::ScsiTransport> openSgIo(const std::filesystem::path& node) {
    return std::make_unique<drive::SgIoTransport>(node);
}

drive::SupportRecords supportRecordsForId(const DatabaseChoice& database,
                                          std::span<const std::uint8_t> id,
                                          std::vector<std::string>* warnings) {
    const jet::Database opened = openLookupDatabase(database);
    if (warnings != nullptr) {
        const auto& found = opened.warnings();
        warnings->insert(warnings->end(), found.begin(), found.end());
    }
    const jet::Table table = opened.table(kLookupTable);
    const std::size_t shortest = std::min<std::size_t>(4, id.size());
    for (std::size_t length = id.size(); length >= shortest && length > 0; --length) {
        const ResultTable found = lookUpByIdBytes(table, id.first(length));
        if (found.rows.empty()) {
            continue;
        }
        const auto column = [&found](std::string_view name) {
            const auto at = std::find(found.columns.begin(), found.columns.end(), name);
            return at == found.columns.end() ? found.columns.size()
                                             : static_cast<std::size_t>(at - found.columns.begin());
        };
        drive::SupportRecords support{length, {}};
        const std::size_t model = column(kModelColumn);
        for (const auto& row : found.rows) {
            drive::SupportRecord record;
            if (model < row.size()) {
                record.flashModel = row[model].text;
            }
            for (const std::string_view maker : kControllerMakerColumns) {
                const std::size_t position = column(maker);
                if (position < row.size()) {
                    const std::string_view chip = trimBlanks(row[position].text);
                    if (!chip.empty()) {
                        record.controllers.emplace_back(maker, chip);
                    }
                }
            }
            support.records.push_back(std::move(record));
        }
        return support;
    }
    return {};
}

ResultTable recordsForId(const DatabaseChoice& database, std::span<const std::uint8_t> id,
                         std::vector<std::string>* warnings) {
    QueryRequest lookup;
    lookup.mode = LookupMode::IdBytes;
    lookup.text = drive::idText(id);
    lookup.database = database;
    return runLookup(lookup, warnings);
}

ExitStatus runDriveCommand(const QueryRequest& request, std::ostream& out, std::ostream& errors,
                           const TransportOpener& openTransport) {
    switch (request.mode) {
        case LookupMode::DecodeId:
            return runDecode(request, out, errors);
        case LookupMode::Drives:
            return runDrives(request, out, errors);
        case LookupMode::Probe:
            return runProbe(request, out, errors, openTransport);
        default:
            throw std::logic_error("not a drive command");
    }
}

}  // namespace norvessa::query
