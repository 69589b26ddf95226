#include "norvessa_query/drive_commands.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include "drive/drive_report.h"
#include "drive/id_answer.h"
#include "drive/json_writer.h"
#include "drive/sysfs_drives.h"
#include "drive/units.h"
#include "drive/usb_ids.h"
#include "norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

void writeRecordsText(std::ostream& out, const ResultTable& records,
                      std::span<const std::uint8_t> id) {
    if (records.rows.empty()) {
        out << "Records: none in the lookup database begins with " << drive::idText(id) << '\n';
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

ExitStatus runDecode(const QueryRequest& request, std::ostream& out) {
    std::vector<std::uint8_t> id;
    try {
        id = drive::parseIdBytes(request.text);
    } catch (const std::invalid_argument& error) {
        throw UsageError("--decode \"" + request.text + "\": " + error.what());
    }
    const drive::IdAnswer answer = drive::answerId(id);
    const ResultTable records = recordsForId(request.database, id);
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

ExitStatus runDrives(const QueryRequest& request, std::ostream& out, std::ostream& errors) {
    const std::vector<drive::UsbDrive> drives = drive::listUsbDrives(request.sysfsRoot);
    const auto usbIds = usbIdsFile(request);
    if (request.format == OutputFormat::Json) {
        drive::JsonWriter json(out);
        json.beginArray();
        for (const drive::UsbDrive& found : drives) {
            json.beginObject();
            drive::writeDriveReportJson(json, drive::reportOf(found, usbIds));
            json.endObject();
        }
        json.endArray();
    } else {
        for (std::size_t index = 0; index < drives.size(); ++index) {
            out << (index == 0 ? "" : "\n");
            drive::writeDriveReportText(out, drive::reportOf(drives[index], usbIds));
        }
    }
    if (drives.empty()) {
        errors << kProgramName << ": no USB mass-storage drive found\n";
        return kNoRecordFound;
    }
    return kRecordsFound;
}

}  // namespace

ResultTable recordsForId(const DatabaseChoice& database, std::span<const std::uint8_t> id) {
    LookupInput input;
    input.mode = LookupMode::IdBytes;
    input.idBytes.assign(id.begin(), id.end());
    return runLookup(openLookupDatabase(database), input);
}

ExitStatus runDriveCommand(const QueryRequest& request, std::ostream& out, std::ostream& errors) {
    switch (request.mode) {
        case LookupMode::DecodeId:
            return runDecode(request, out);
        case LookupMode::Drives:
            return runDrives(request, out, errors);
        default:
            throw UsageError("--probe is not available in this build");
    }
}

}  // namespace norvessa::query
