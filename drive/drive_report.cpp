#include "drive/drive_report.h"

#include <cstdio>

#include "drive/units.h"

namespace norvessa::drive {

namespace {

constexpr std::size_t kLabelWidth = 26;

void field(std::ostream& out, std::string_view label, std::string_view value) {
    out << label << ':' << std::string(kLabelWidth - std::min(kLabelWidth, label.size() + 1), ' ')
        << (value.empty() ? "-" : value) << '\n';
}

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

std::string vidPid(const UsbDrive& drive) {
    return (drive.vendorId ? hex4(*drive.vendorId) : std::string("?")) + ":" +
           (drive.productId ? hex4(*drive.productId) : std::string("?"));
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
        return "unknown (neither the VID nor the INQUIRY data names a controller maker)";
    }
    std::string text;
    for (const ControllerHint& hint : hints) {
        if (!text.empty()) {
            text += "; or ";
        }
        text += std::string(controllerMakerName(hint.maker)) + " (hint: ";
        for (std::size_t index = 0; index < hint.reasons.size(); ++index) {
            text += (index == 0 ? "" : ", ") + hint.reasons[index];
        }
        text += ")";
    }
    return text;
}

}  // namespace

std::string printable(std::string_view text) {
    std::string out(text);
    for (char& character : out) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F) {
            character = '?';
        }
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
    return report;
}

void writeDriveReportText(std::ostream& out, const DriveReport& report) {
    const UsbDrive& drive = report.drive;
    std::string device = "/dev/" + drive.blockName;
    if (drive.sgName) {
        device += " (SCSI generic /dev/" + *drive.sgName + ")";
    }
    field(out, "Device", device);
    std::string names;
    if (report.names.vendor) {
        names = printable(*report.names.vendor);
        if (report.names.product) {
            names += " / " + printable(*report.names.product);
        }
    }
    field(out, "VID/PID", vidPid(drive) + (names.empty() ? "" : " [" + names + "]"));
    field(out, "Manufacturer", printable(drive.manufacturer));
    field(out, "Product", printable(drive.product));
    field(out, "Serial", printable(drive.serial));
    field(out, "Device Revision", drive.bcdDevice);
    field(out, "USB Version", usbVersionText(drive));
    field(out, "Declared Power", drive.maxPower);
    field(out, "USB Port", drive.usbPath);
    field(out, "Query Vendor", printable(drive.inquiryVendor));
    field(out, "Query Product", printable(drive.inquiryProduct));
    field(out, "Query Revision", printable(drive.inquiryRevision));
    field(out, "Capacity", capacityText(drive));
    field(out, "Controller Maker", hintText(report.hints));
}

void writeDriveReportJson(JsonWriter& json, const DriveReport& report) {
    const UsbDrive& drive = report.drive;
    json.string("block_device", "/dev/" + drive.blockName);
    json.optionalString("sg_device",
                        drive.sgName ? std::optional("/dev/" + *drive.sgName) : std::nullopt);
    json.optionalString("vid",
                        drive.vendorId ? std::optional(hex4(*drive.vendorId)) : std::nullopt);
    json.optionalString("pid",
                        drive.productId ? std::optional(hex4(*drive.productId)) : std::nullopt);
    json.optionalString("vendor_name", report.names.vendor);
    json.optionalString("product_name", report.names.product);
    json.string("manufacturer", drive.manufacturer);
    json.string("product", drive.product);
    json.string("serial", drive.serial);
    json.string("device_revision", drive.bcdDevice);
    json.string("usb_version", drive.usbVersion);
    json.string("speed_mbps", drive.speed);
    const std::string remark = usbLinkRemark(drive);
    json.optionalString("usb_remark", remark.empty() ? std::nullopt : std::optional(remark));
    json.string("declared_power", drive.maxPower);
    json.string("usb_port", drive.usbPath);
    json.string("inquiry_vendor", drive.inquiryVendor);
    json.string("inquiry_product", drive.inquiryProduct);
    json.string("inquiry_revision", drive.inquiryRevision);
    json.optionalNumber("capacity_bytes", drive.sizeBytes);
    json.beginArray("controller_hints");
    for (const ControllerHint& hint : report.hints) {
        json.beginObject();
        json.string("maker", controllerMakerName(hint.maker));
        json.beginArray("reasons");
        for (const std::string& reason : hint.reasons) {
            json.string({}, reason);
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

}  // namespace norvessa::drive
