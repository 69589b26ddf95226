#pragma once

// The copy-paste report of a drive: one block of "Field: value" lines per drive, in the field
// layout technicians already post (Controller, Flash ID, Possible Memory Chip(s), Chip F/W,
// VID/PID, Query Vendor/Product/Revision, USB Version, ...), or one JSON object per drive.

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "drive/capacity_check.h"
#include "drive/controller_hint.h"
#include "drive/id_answer.h"
#include "drive/probe.h"
#include "drive/sysfs_drives.h"
#include "drive/usb_ids.h"
#include "platform/json/json_writer.h"

namespace norvessa::drive {

// A record of the lookup database: a flash model and the controller chips that drive it, under
// their makers' names (慧荣, 群联, ...).
struct SupportRecord {
    std::string flashModel;
    std::vector<std::pair<std::string, std::string>> controllers;  // maker, chip
};

// The records whose ID begins with the first `comparedBytes` bytes of an ID.
struct SupportRecords {
    std::size_t comparedBytes = 0;
    std::vector<SupportRecord> records;
};
using RecordLookup = std::function<SupportRecords(std::span<const std::uint8_t> id)>;

// One flash ID and the chip enables that answered with it.
struct FlashIdReport {
    std::vector<int> chipEnables;
    IdAnswer answer;
    SupportRecords support;
};

struct DriveReport {
    UsbDrive drive;
    UsbNames names;  // from usb.ids; empty when no file was at hand
    std::vector<ControllerHint> hints;
    // Why the device is a card reader or multi-function device (never probed); empty for a drive.
    std::vector<std::string> readerSigns;
    // With --probe:
    std::optional<ProbeResult> probe;
    std::vector<FlashIdReport> flash;
    std::optional<CapacityCheck> capacity;
};

DriveReport reportOf(const UsbDrive& drive, const std::optional<std::filesystem::path>& usbIds);

// Adds what the probe read: each distinct flash ID decoded and looked up, and the capacity
// check.
void addProbe(DriveReport& report, ProbeResult probe, const RecordLookup& lookUpRecords);

void writeDriveReportText(std::ostream& out, const DriveReport& report);
void writeDriveReportJson(json::JsonWriter& json, const DriveReport& report);

// Each controller chip of the records once, under its maker, makers in the order first met:
// "慧荣 SM3257ENLT, SM3267AE; 安国 AU6989SN". Says so when there is none.
std::string supportingControllers(const SupportRecords& support);

// Text from a device or a recorded tree, safe to print: control characters (C0, DEL, C1) and
// bytes that are no UTF-8 become '?'.
std::string printable(std::string_view text);

// The firmware date bytes, labelled as what they are: "0E 0B 1C (14 11 28 in decimal; no source
// says which byte is the year)".
std::string firmwareDateText(std::span<const std::uint8_t> bytes);

}  // namespace norvessa::drive
