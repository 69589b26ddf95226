#include "drive/drive_report.h"

#include <algorithm>
#include <set>

#include "drive/units.h"
#include "flash/flash_traits.h"
#include "platform/text/utf8.h"

namespace norvessa::drive {

namespace {

constexpr std::size_t kLabelWidth = 26;

// Every value goes through the control-character filter: most come from the device.
void field(std::ostream& out, std::string_view label, std::string_view value) {
    out << label << ':' << std::string(kLabelWidth - std::min(kLabelWidth, label.size() + 1), ' ')
        << (value.empty() ? std::string("-") : printable(value)) << '\n';
}

// A device's text as JSON: the text (bytes that are no UTF-8 become U+FFFD), and where it is
// not plain text, its bytes in hexadecimal under "<key>_hex" beside it.
void deviceText(json::JsonWriter& json, const std::string& key, std::string_view value) {
    json.string(key, value);
    if (!json::isPlainText(value)) {
        json.string(
            key + "_hex",
            idText(std::span(reinterpret_cast<const std::uint8_t*>(value.data()), value.size())));
    }
}

// INQUIRY bytes after the standard 36, which some firmware uses for its own marker.
std::string vendorSpecificText(const UsbDrive& drive) {
    if (drive.inquiry.size() <= 36) {
        return "not exposed (the kernel read " + std::to_string(drive.inquiry.size()) +
               " INQUIRY bytes)";
    }
    const auto extra = std::span(drive.inquiry).subspan(36);
    std::string ascii;
    for (const std::uint8_t byte : extra) {
        ascii += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
    }
    return "bytes 36-" + std::to_string(drive.inquiry.size() - 1) + ": " + idText(extra) + " (\"" +
           ascii + "\")";
}

std::string vidPid(const UsbDrive& drive) {
    return (drive.vendorId ? hexText(*drive.vendorId, 4) : std::string("?")) + ":" +
           (drive.productId ? hexText(*drive.productId, 4) : std::string("?"));
}

std::string usbVersionText(const UsbDrive& drive) {
    std::string text = drive.usbVersion.empty() ? std::string("?") : drive.usbVersion;
    if (!drive.speed.empty()) {
        text += ", link " + drive.speed + " Mbit/s";
        const std::string name = speedName(drive.speed);
        if (!name.empty()) {
            text += " (" + name + ")";
        }
    }
    if (const std::string remark = usbLinkRemark(drive); !remark.empty()) {
        text += ": " + remark;
    }
    return text;
}

std::string capacityText(const UsbDrive& drive) {
    if (!drive.sizeBytes) {
        return "unknown";
    }
    if (*drive.sizeBytes == 0) {
        return "0 (no medium)";
    }
    return sizeText(*drive.sizeBytes) + " (" + std::to_string(*drive.sizeBytes) + " bytes)";
}

std::string hintText(const std::vector<ControllerHint>& hints) {
    if (hints.empty()) {
        return "none (neither the VID nor the INQUIRY data names a controller maker)";
    }
    std::string text;
    for (const ControllerHint& hint : hints) {
        if (!text.empty()) {
            text += "; or ";
        }
        text += std::string(controllerMakerName(hint.maker)) +
                (hint.opensGate() ? " [established: its commands may be sent] ("
                                  : " [a hint only: none of its commands is sent] (");
        for (std::size_t index = 0; index < hint.reasons.size(); ++index) {
            text += (index == 0 ? "" : ", ") + hint.reasons[index];
        }
        text += ")";
    }
    return text;
}

std::string chipEnablesText(const std::vector<int>& chipEnables) {
    std::string text;
    for (const int chipEnable : chipEnables) {
        text += (text.empty() ? "CE" : ", CE") + std::to_string(chipEnable);
    }
    return text;
}

// The parts that answer to the most bytes, then the models of the records, each once.
std::string possibleChips(const FlashIdReport& flash) {
    std::vector<std::string> names;
    const auto add = [&names](const std::string& name) {
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    };
    const auto& parts = flash.answer.parts;
    for (const SourcedPart& part : parts) {
        if (part.comparedBytes == parts.front().comparedBytes && part.comparedBytes > 2) {
            add(part.part);
        }
    }
    for (const SupportRecord& record : flash.support.records) {
        add(record.flashModel);
    }
    if (names.empty()) {
        return "none known";
    }
    constexpr std::size_t kShown = 12;
    std::string text;
    for (std::size_t index = 0; index < names.size() && index < kShown; ++index) {
        text += (index == 0 ? "" : ", ") + names[index];
    }
    if (names.size() > kShown) {
        text += " and " + std::to_string(names.size() - kShown) + " more";
    }
    return text;
}

std::string memoryType(const IdAnswer& answer) {
    const flash::IdDecode& decoded = answer.decoded;
    std::string text;
    if (decoded.bitsPerCell) {
        text = std::string(flash::cellName(*decoded.bitsPerCell));
    } else {
        std::set<int> cells;
        for (const SourcedPart& part : answer.parts) {
            if (part.comparedBytes > 2 && part.bitsPerCell != 0) {
                cells.insert(part.bitsPerCell);
            }
        }
        if (cells.size() == 1) {
            text = std::string(flash::cellName(*cells.begin())) + " (from the ID tables)";
        }
    }
    if (decoded.maker) {
        text = std::string(flash::makerName(*decoded.maker)) + (text.empty() ? "" : " ") + text;
    }
    if (decoded.ceDensityBits) {
        text += (text.empty() ? "" : ", ") + densityText(*decoded.ceDensityBits) + " per CE";
    }
    return text.empty() ? "unknown" : text;
}

// What the drive itself reported, first: the lines a technician looks for.
void writeProbeHead(std::ostream& out, const DriveReport& report) {
    const ProbeResult& probe = *report.probe;
    field(out, "Controller",
          probe.answered() ? probe.controller : "not read (no documented command answered)");
    if (report.flash.empty()) {
        field(out, "Flash ID", "not read");
    }
    for (const FlashIdReport& flash : report.flash) {
        field(out, "Possible Memory Chip(s)", possibleChips(flash));
        field(out, "Memory Type", memoryType(flash.answer));
        field(out, "Flash ID",
              idRun(flash.answer.id) + " (" + chipEnablesText(flash.chipEnables) + ")");
    }
    field(out, "Flash CE", std::to_string(probe.flashIds.size()));
    field(out, "Chip F/W", probe.firmwareVersion);
    if (!probe.firmwareDate.empty()) {
        field(out, "Firmware Date Bytes", firmwareDateText(probe.firmwareDate));
    }
    if (!probe.runMode.empty()) {
        field(out, "Run Mode", probe.runMode);
    }
    if (probe.badBlocks) {
        field(out, "Bad Blocks", std::to_string(*probe.badBlocks));
    }
}

// The capacity check, the lookup and how the probe went, after the drive's own fields.
void writeProbeTail(std::ostream& out, const DriveReport& report) {
    const ProbeResult& probe = *report.probe;
    if (report.capacity) {
        const CapacityCheck& capacity = *report.capacity;
        field(out, "Announced Capacity",
              capacity.announcedBytes ? sizeText(*capacity.announcedBytes) + " (" +
                                            std::to_string(*capacity.announcedBytes) + " bytes)"
                                      : std::string("unknown"));
        field(out, "Flash Capacity",
              capacity.flashBytes ? sizeText(*capacity.flashBytes) : std::string("unknown"));
        field(out, "Capacity Check", capacity.verdict);
    }
    for (const FlashIdReport& flash : report.flash) {
        field(out, "Supporting Controllers", supportingControllers(flash.support));
    }
    for (const std::string& gate : probe.gate) {
        field(out, "Commands Allowed By", gate);
    }
    std::string sent;
    for (const std::string& name : probe.sent) {
        sent += (sent.empty() ? "" : ", ") + name;
    }
    field(out, "Commands Sent", sent);
    if (probe.failedCommand) {
        field(out, "Failed Command",
              *probe.failedCommand + (probe.transportError ? ": " + *probe.transportError
                                                           : std::string(": no answer in time")));
    }
    for (const std::string& note : probe.notes) {
        field(out, "Probe Note", note);
    }
    for (const FlashIdReport& flash : report.flash) {
        out << "\nFlash ID " << idRun(flash.answer.id) << " (" << chipEnablesText(flash.chipEnables)
            << "):\n";
        writeIdAnswerText(out, flash.answer, "  ");
    }
}

void writeProbeJson(json::JsonWriter& json, const DriveReport& report) {
    const ProbeResult& probe = *report.probe;
    json.beginObject("probe");
    json.optionalString(
        "controller_maker",
        probe.maker ? std::optional(std::string(controllerMakerName(*probe.maker))) : std::nullopt);
    json.optionalString("controller",
                        probe.answered() ? std::optional(probe.controller) : std::nullopt);
    deviceText(json, "firmware_version", probe.firmwareVersion);
    json.textOrNull("firmware_date_bytes", idText(probe.firmwareDate));
    json.string("firmware_date_note",
                "the sources call these bytes the firmware date but none says which is the year");
    json.string("run_mode", probe.runMode);
    json.optionalNumber("bad_blocks", probe.badBlocks
                                          ? std::optional<std::uint64_t>(*probe.badBlocks)
                                          : std::nullopt);
    json.beginArray("flash_ids");
    for (const FlashIdReport& flash : report.flash) {
        json.beginObject();
        json.beginArray("chip_enables");
        for (const int chipEnable : flash.chipEnables) {
            json.number({}, static_cast<std::uint64_t>(chipEnable));
        }
        json.endArray();
        writeIdAnswerJson(json, flash.answer);
        json.number("records_compared_bytes", flash.support.comparedBytes);
        json.string("supporting_controllers", supportingControllers(flash.support));
        json.beginArray("records");
        for (const SupportRecord& record : flash.support.records) {
            json.beginObject();
            json.string("flash_model", record.flashModel);
            json.beginArray("controllers");
            for (const auto& [maker, chip] : record.controllers) {
                json.beginObject();
                json.string("maker", maker);
                json.string("chip", chip);
                json.endObject();
            }
            json.endArray();
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    if (report.capacity) {
        json.beginObject("capacity_check");
        json.optionalNumber("announced_bytes", report.capacity->announcedBytes);
        json.optionalNumber("flash_bytes", report.capacity->flashBytes);
        json.boolean("likely_resized", report.capacity->likelyResized);
        json.string("verdict", report.capacity->verdict);
        json.endObject();
    }
    json.stringArray("commands_allowed_by", probe.gate);
    json.stringArray("commands_sent", probe.sent);
    json.optionalString("failed_command", probe.failedCommand);
    json.optionalString("transport_error", probe.transportError);
    json.stringArray("notes", probe.notes);
    json.endObject();
}

}  // namespace

// Each controller chip once, under its maker, makers in the order first met.
std::string supportingControllers(const SupportRecords& support) {
    std::vector<std::pair<std::string, std::vector<std::string>>> byMaker;
    for (const SupportRecord& record : support.records) {
        for (const auto& controller : record.controllers) {
            const std::string& maker = controller.first;
            const std::string& chip = controller.second;
            auto found = std::find_if(byMaker.begin(), byMaker.end(),
                                      [&](const auto& entry) { return entry.first == maker; });
            if (found == byMaker.end()) {
                byMaker.push_back({maker, {}});
                found = byMaker.end() - 1;
            }
            if (std::find(found->second.begin(), found->second.end(), chip) ==
                found->second.end()) {
                found->second.push_back(chip);
            }
        }
    }
    if (byMaker.empty()) {
        return "none listed in the lookup database";
    }
    std::string text;
    for (const auto& [maker, chips] : byMaker) {
        text += (text.empty() ? "" : "; ") + maker + " ";
        for (std::size_t index = 0; index < chips.size(); ++index) {
            text += (index == 0 ? "" : ", ") + printable(chips[index]);
        }
    }
    return text;
}

std::string firmwareDateText(std::span<const std::uint8_t> bytes) {
    std::string decimal;
    for (const std::uint8_t byte : bytes) {
        decimal += (decimal.empty() ? "" : " ") + std::to_string(byte);
    }
    return idText(bytes) + " (" + decimal +
           " in decimal; the sources call these bytes the firmware date but none says which is "
           "the year)";
}

void addProbe(DriveReport& report, ProbeResult probe, const RecordLookup& lookUpRecords) {
    for (const ChipEnableId& chipEnable : probe.flashIds) {
        auto found = std::find_if(report.flash.begin(), report.flash.end(), [&](const auto& flash) {
            return flash.answer.id == chipEnable.id;
        });
        if (found != report.flash.end()) {
            found->chipEnables.push_back(chipEnable.chipEnable);
            continue;
        }
        FlashIdReport flash;
        flash.chipEnables.push_back(chipEnable.chipEnable);
        flash.answer = answerId(chipEnable.id);
        flash.support = lookUpRecords(chipEnable.id);
        report.flash.push_back(std::move(flash));
    }
    report.capacity = checkCapacity(
        probe.announced ? std::optional(probe.announced->bytes()) : std::nullopt, probe.flashIds);
    report.probe = std::move(probe);
}

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t index = 0;
    while (index < text.size()) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (byte < 0x80) {
            out += byte < 0x20 || byte == 0x7F ? '?' : static_cast<char>(byte);
            ++index;
            continue;
        }
        const text::Utf8Sequence sequence = text::decodeUtf8At(text, index);
        if (!sequence.wellFormed) {
            out += '?';
            ++index;
            continue;
        }
        if (sequence.codePoint >= 0x80 && sequence.codePoint <= 0x9F) {
            out += '?';  // C1 control characters
        } else {
            out.append(text.substr(index, sequence.length));
        }
        index += sequence.length;
    }
    return out;
}

DriveReport reportOf(const UsbDrive& drive, const std::optional<std::filesystem::path>& usbIds) {
    DriveReport report;
    report.drive = drive;
    if (usbIds && drive.vendorId && drive.productId) {
        report.names = lookUpUsbNames(*usbIds, *drive.vendorId, *drive.productId);
    }
    report.hints = controllerHints(drive);
    report.readerSigns = readerSigns(drive);
    return report;
}

void writeDriveReportText(std::ostream& out, const DriveReport& report) {
    const UsbDrive& drive = report.drive;
    std::string device = "/dev/" + drive.blockName;
    if (drive.sgName) {
        device += " (SCSI generic /dev/" + *drive.sgName + ")";
    }
    field(out, "Device", device);
    if (!report.readerSigns.empty()) {
        std::string signs;
        for (const std::string& sign : report.readerSigns) {
            signs += (signs.empty() ? "" : "; ") + sign;
        }
        field(out, "Device Kind", "card reader or multi-function device, never probed: " + signs);
    }
    if (report.probe) {
        writeProbeHead(out, report);
    }
    field(out, "Controller Hint", hintText(report.hints));
    std::string names;
    if (report.names.vendor) {
        names = printable(*report.names.vendor);
        if (report.names.product) {
            names += " / " + printable(*report.names.product);
        }
    }
    field(out, "VID/PID", vidPid(drive) + (names.empty() ? "" : " [" + names + "]"));
    field(out, "Manufacturer", drive.manufacturer);
    field(out, "Product", drive.product);
    field(out, "Serial", drive.serial);
    field(out, "Device Revision", drive.bcdDevice);
    field(out, "Query Vendor", drive.inquiryVendor);
    field(out, "Query Product", drive.inquiryProduct);
    field(out, "Query Revision", drive.inquiryRevision);
    field(out, "Query Vendor Specific", vendorSpecificText(drive));
    field(out, "USB Version", usbVersionText(drive));
    field(out, "Declared Power", drive.maxPower);
    field(out, "USB Port", drive.usbPath);
    field(out, "Capacity", capacityText(drive));
    if (report.probe) {
        writeProbeTail(out, report);
    }
}

void writeDriveReportJson(json::JsonWriter& json, const DriveReport& report) {
    const UsbDrive& drive = report.drive;
    json.string("block_device", "/dev/" + drive.blockName);
    json.optionalString("sg_device",
                        drive.sgName ? std::optional("/dev/" + *drive.sgName) : std::nullopt);
    json.optionalString("vid",
                        drive.vendorId ? std::optional(hexText(*drive.vendorId, 4)) : std::nullopt);
    json.optionalString(
        "pid", drive.productId ? std::optional(hexText(*drive.productId, 4)) : std::nullopt);
    json.optionalString("vendor_name", report.names.vendor);
    json.optionalString("product_name", report.names.product);
    deviceText(json, "manufacturer", drive.manufacturer);
    deviceText(json, "product", drive.product);
    deviceText(json, "serial", drive.serial);
    deviceText(json, "device_revision", drive.bcdDevice);
    deviceText(json, "usb_version", drive.usbVersion);
    deviceText(json, "speed_mbps", drive.speed);
    const std::string remark = usbLinkRemark(drive);
    json.textOrNull("usb_remark", remark);
    deviceText(json, "declared_power", drive.maxPower);
    deviceText(json, "usb_port", drive.usbPath);
    deviceText(json, "inquiry_vendor", drive.inquiryVendor);
    deviceText(json, "inquiry_product", drive.inquiryProduct);
    deviceText(json, "inquiry_revision", drive.inquiryRevision);
    json.textOrNull("inquiry_hex", idText(drive.inquiry));
    json.textOrNull(
        "inquiry_vendor_specific_hex",
        drive.inquiry.size() > 36 ? idText(std::span(drive.inquiry).subspan(36)) : std::string());
    json.string("raw_text_note",
                "device texts are shown as UTF-8; bytes that are no UTF-8 appear as U+FFFD, and "
                "such a text is also given in hexadecimal under its key with \"_hex\"");
    json.optionalNumber("capacity_bytes", drive.sizeBytes);
    json.number("luns", static_cast<std::uint64_t>(drive.lunCount));
    json.stringArray("reader_signs", report.readerSigns);
    json.beginArray("controller_hints");
    for (const ControllerHint& hint : report.hints) {
        json.beginObject();
        json.string("maker", controllerMakerName(hint.maker));
        json.stringArray("reasons", hint.reasons);
        json.optionalString("key", hint.key);
        json.endObject();
    }
    json.endArray();
    if (report.probe) {
        writeProbeJson(json, report);
    }
}

}  // namespace norvessa::drive
