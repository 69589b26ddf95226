#pragma once

// The copy-paste report of a drive: one block of "Field: value" lines per drive, in the field
// layout technicians already post (Controller, Flash ID, Possible Memory Chip(s), Chip F/W,
// VID/PID, Query Vendor/Product/Revision, USB Version, ...), or one JSON object per drive.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "drive/controller_hint.h"
#include "drive/json_writer.h"
#include "drive/sysfs_drives.h"
#include "drive/usb_ids.h"

namespace norvessa::drive {

struct DriveReport {
    UsbDrive drive;
    UsbNames names;  // from usb.ids; empty when no file was at hand
    std::vector<ControllerHint> hints;
};

DriveReport reportOf(const UsbDrive& drive, const std::optional<std::filesystem::path>& usbIds);

void writeDriveReportText(std::ostream& out, const DriveReport& report);
void writeDriveReportJson(JsonWriter& json, const DriveReport& report);

// Text from a device or a recorded tree, safe to print: control characters become '?'.
std::string printable(std::string_view text);

}  // namespace norvessa::drive
