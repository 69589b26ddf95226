#include "norvessa_query/drive_commands.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "drive/drive_report.h"
#include "drive/id_answer.h"
#include "drive/probe.h"
#include "drive/sg_io_transport.h"
#include "drive/sysfs_drives.h"
#include "drive/units.h"
#include "drive/usb_ids.h"
#include "norvessa_query/result_formats.h"
#include "platform/json/json_writer.h"

namespace norvessa::query {

namespace {

void writeWarnings(std::ostream& errors, const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) {
        errors << kProgramName << ": warning: " << warning << '\n';
    }
}

// "the first 5 of the 6 bytes given; none begins with all of them", or nothing for the whole ID.
std::string prefixRemark(const IdRecords& found, std::size_t typed) {
    if (found.comparedBytes == typed || found.comparedBytes == 0) {
        return {};
    }
    return "the first " + std::to_string(found.comparedBytes) + " of the " + std::to_string(typed) +
           " bytes given; no record begins with all of them";
}

void writeRecordsText(std::ostream& out, const IdRecords& found, std::span<const std::uint8_t> id) {
    if (found.table.rows.empty()) {
        out << "Records: no record in the lookup database begins with " << drive::idText(id)
            << " or with its first " << std::min<std::size_t>(kShortestRecordPrefix, id.size())
            << " bytes\n";
        return;
    }
    const auto prefix = id.first(found.comparedBytes);
    out << "Records in the lookup database whose ID号 begins with " << drive::idText(prefix);
    if (const std::string remark = prefixRemark(found, id.size()); !remark.empty()) {
        out << " (" << remark << ")";
    }
    out << " (" << found.table.rows.size() << "):\n";
    writeTable(out, found.table);
    out << "\nSupporting controllers: " << drive::supportingControllers(supportOf(found)) << '\n';
}

ExitStatus runDecode(const QueryRequest& request, std::ostream& out, std::ostream& errors) {
    const std::vector<std::uint8_t> id = parseTypedIdBytes(request.text, "--decode");
    if (id.size() < flash::kMinIdBytes || id.size() > flash::kMaxIdBytes) {
        throw UsageError("--decode \"" + request.text + "\": an ID has 2 to 8 bytes, not " +
                         std::to_string(id.size()));
    }
    const drive::IdAnswer answer = drive::answerId(id);
    std::vector<std::string> warnings;
    const IdRecords found = longestPrefixRecords(request.database, id, &warnings);
    writeWarnings(errors, warnings);
    if (request.format == OutputFormat::Json) {
        json::JsonWriter json(out);
        json.beginObject();
        drive::writeIdAnswerJson(json, answer);
        json.textOrNull("records_prefix", drive::idText(std::span(id).first(found.comparedBytes)));
        json.number("records_compared_bytes", found.comparedBytes);
        json.textOrNull("records_prefix_note", prefixRemark(found, id.size()));
        json.string("supporting_controllers", drive::supportingControllers(supportOf(found)));
        writeRecordsJson(json, "records", found.table);
        json.endObject();
    } else {
        drive::writeIdAnswerText(out, answer);
        out << '\n';
        writeRecordsText(out, found, id);
    }
    return answer.parts.empty() && found.table.rows.empty() ? kNoRecordFound : kRecordsFound;
}

// usb.ids is about 1.5 MB; a file much larger, or no regular file, is no usb.ids.
constexpr std::uintmax_t kMaxUsbIdsFile = drive::kMaxUsbIdsBytes;

std::optional<std::filesystem::path> usbIdsFile(const QueryRequest& request) {
    if (request.usbIds) {
        std::error_code error;
        const auto status = std::filesystem::status(*request.usbIds, error);
        if (error || !std::filesystem::exists(status)) {
            throw std::runtime_error("--usb-ids: no file " + request.usbIds->string());
        }
        if (!std::filesystem::is_regular_file(status)) {
            throw std::runtime_error("--usb-ids: " + request.usbIds->string() +
                                     " is not a regular file");
        }
        const auto size = std::filesystem::file_size(*request.usbIds, error);
        if (error || size > kMaxUsbIdsFile) {
            throw std::runtime_error("--usb-ids: " + request.usbIds->string() +
                                     " is larger than 16 MiB, too large for a usb.ids file");
        }
        return request.usbIds;
    }
    return drive::systemUsbIds();
}

void writeReports(std::ostream& out, const std::vector<drive::DriveReport>& reports,
                  OutputFormat format) {
    if (format == OutputFormat::Json) {
        json::JsonWriter json(out);
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

// The drive DEVICE names, by its device number, never by its file name.
drive::UsbDrive resolveDevice(const std::string& device,
                              const std::vector<drive::UsbDrive>& drives) {
    const auto node = drive::deviceNodeOf(device);
    std::error_code error;
    if (!node && !std::filesystem::exists(device, error)) {
        throw std::runtime_error(device + ": no such device (--drives lists the drives)");
    }
    if (!node) {
        throw std::runtime_error(device +
                                 " is no device node: give the drive's node, e.g. /dev/sdc or "
                                 "/dev/sg2 (--drives lists them)");
    }
    if (const auto partition = drive::findPartition(drives, *node)) {
        throw std::runtime_error(device + " is the partition " + partition->second + " of /dev/" +
                                 partition->first.blockName + ": give the whole drive, e.g. /dev/" +
                                 partition->first.blockName);
    }
    const auto found = drive::findUsbDrive(drives, *node);
    if (!found) {
        throw std::runtime_error(device + " (device " + std::to_string(node->number.major) + ":" +
                                 std::to_string(node->number.minor) +
                                 ") is no USB mass-storage drive in sysfs, nor a partition of "
                                 "one; give the whole drive, e.g. /dev/sdc (--drives lists them)");
    }
    return *found;
}

ExitStatus runProbe(const QueryRequest& request, std::ostream& out, std::ostream& errors,
                    const TransportOpener& openTransport) {
    const std::string device(requireNonBlank(request.text, "--probe"));
    const std::vector<drive::UsbDrive> drives = drive::listUsbDrives(request.sysfsRoot);
    const drive::UsbDrive found = resolveDevice(device, drives);
    drive::DriveReport report = drive::reportOf(found, usbIdsFile(request));
    if (!report.readerSigns.empty()) {
        writeReports(out, {report}, request.format);
        errors << kProgramName << ": " << device
               << " is a card reader or multi-function device: no command was sent to it\n";
        return kNoRecordFound;
    }
    if (!found.sgName || !found.sgDevice) {
        throw std::runtime_error(device +
                                 " has no SCSI generic node: load the sg module (modprobe sg)");
    }
    const auto transport =
        openTransport(std::filesystem::path("/dev") / *found.sgName, *found.sgDevice);
    drive::ProbeResult probe = drive::probeDrive(*transport, report.hints);
    const bool answered = probe.answered() || !probe.flashIds.empty();
    const std::optional<std::string> failed =
        probe.transportError ? std::optional(*probe.failedCommand + ": " + *probe.transportError)
                             : std::nullopt;
    std::vector<std::string> warnings;
    drive::addProbe(report, std::move(probe), [&](std::span<const std::uint8_t> id) {
        return supportRecordsForId(request.database, id, &warnings);
    });
    std::sort(warnings.begin(), warnings.end());
    warnings.erase(std::unique(warnings.begin(), warnings.end()), warnings.end());
    writeWarnings(errors, warnings);
    writeReports(out, {report}, request.format);
    if (failed) {
        errors << kProgramName << ": the probe stopped at " << drive::printable(*failed)
               << "; what was read before is above\n";
        return kFailed;
    }
    return answered ? kRecordsFound : kNoRecordFound;
}

}  // namespace

std::unique_ptr<drive::ScsiTransport> openSgIo(const std::filesystem::path& node,
                                               drive::DeviceNumber expected) {
    return std::make_unique<drive::SgIoTransport>(node, expected);
}

drive::SupportRecords supportOf(const IdRecords& found) {
    const ResultTable& table = found.table;
    const auto column = [&table](std::string_view name) {
        const auto at = std::find(table.columns.begin(), table.columns.end(), name);
        return at == table.columns.end() ? table.columns.size()
                                         : static_cast<std::size_t>(at - table.columns.begin());
    };
    drive::SupportRecords support{found.comparedBytes, {}};
    const std::size_t model = column(kModelColumn);
    for (const auto& row : table.rows) {
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

IdRecords longestPrefixRecords(const DatabaseChoice& database, std::span<const std::uint8_t> id,
                               std::vector<std::string>* warnings) {
    const std::size_t shortest = std::min<std::size_t>(kShortestRecordPrefix, id.size());
    IdRecords found;
    for (std::size_t length = id.size(); length >= shortest && length > 0; --length) {
        found.table =
            recordsForId(database, id.first(length), length == id.size() ? warnings : nullptr);
        if (!found.table.rows.empty()) {
            found.comparedBytes = length;
            return found;
        }
    }
    found.comparedBytes = 0;
    return found;
}

drive::SupportRecords supportRecordsForId(const DatabaseChoice& database,
                                          std::span<const std::uint8_t> id,
                                          std::vector<std::string>* warnings) {
    return supportOf(longestPrefixRecords(database, id, warnings));
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
