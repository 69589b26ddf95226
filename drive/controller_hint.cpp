#include "drive/controller_hint.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "drive/units.h"

namespace norvessa::drive {

namespace {

// Vendor IDs that usb.ids gives to controller makers (usb.ids 2025.07.26,
// drive-identification.md 1.2): hints only.
struct MakerVendorId {
    std::uint16_t vendorId;
    ControllerMaker maker;
};

constexpr std::array<MakerVendorId, 9> kMakerVendorIds = {{
    {0x13FE, ControllerMaker::Phison},
    {0x0D7D, ControllerMaker::Phison},
    {0x090C, ControllerMaker::SiliconMotion},
    {0x058F, ControllerMaker::Alcor},
    {0x1E3D, ControllerMaker::ChipsBank},
    {0x0204, ControllerMaker::ChipsBank},
    {0x1F75, ControllerMaker::Innostor},
    {0x048D, ControllerMaker::Ite},
    {0x4146, ControllerMaker::USBest},
}};

// VID:PIDs that usb.ids 2025.07.26 names as a flash drive or flash-drive controller under the
// controller maker's own VID (drive-identification.md 1.2 and 1.3): keys.
struct FlashDriveId {
    std::uint16_t vendorId;
    std::uint16_t productId;
    ControllerMaker maker;
    std::string_view listedAs;
};

constexpr std::array<FlashDriveId, 8> kFlashDriveIds = {{
    {0x0D7D, 0x0100, ControllerMaker::Phison, "PS1001/1011/1006/1026 Flash Disk"},
    {0x0D7D, 0x1320, ControllerMaker::Phison, "PS2031"},
    {0x0D7D, 0x1420, ControllerMaker::Phison, "PS2044"},
    {0x13FE, 0x1F23, ControllerMaker::Phison, "PS2232 flash drive controller"},
    {0x090C, 0x1000, ControllerMaker::SiliconMotion, "Flash Drive"},
    {0x058F, 0x1234, ControllerMaker::Alcor, "Flash Drive"},
    {0x058F, 0x6387, ControllerMaker::Alcor, "Flash Drive (JetFlash TS1GJF2A/120 in the kernel)"},
    {0x058F, 0x6998, ControllerMaker::Alcor, "AU6998 Flash Disk Controller"},
}};

// Card readers and bridges under controller makers' VIDs, which get no vendor command.
struct ReaderId {
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::string_view listedAs;
};

constexpr std::array<ReaderId, 6> kReaderIds = {{
    {0x058F, 0x6366, "Alcor Multi Flash Reader (a four-slot card reader)"},
    {0x090C, 0x1132, "Feiya 5-in-1 Card Reader (kernel unusual_devs.h)"},
    {0x090C, 0x6000, "Feiya SD/SDHC Card Reader (kernel unusual_devs.h)"},
    {0x090C, 0x3350, "SMI SM3350 UFS-to-USB-Mass-Storage bridge (kernel unusual_devs.h)"},
    {0xAAAA, 0x8815, "MXT microSD CardReader (usb.ids)"},
    {0xAAAA, 0x8816, "MXT microSD CardReader (usb.ids)"},
}};

// Words of reader and multi-function device names, compared without regard to letter case.
constexpr std::array<std::string_view, 8> kReaderWords = {
    "reader", "card", "sd/mmc", "microsd", "multi-slot", "multislot", "hub", "camera"};

bool bytesAre(const std::vector<std::uint8_t>& data, std::size_t offset, std::string_view text) {
    if (data.size() < offset + text.size()) {
        return false;
    }
    return std::equal(text.begin(), text.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                      [](char expected, std::uint8_t byte) {
                          return static_cast<std::uint8_t>(expected) == byte;
                      });
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& character : out) {
        if (character >= 'A' && character <= 'Z') {
            character = static_cast<char>(character - 'A' + 'a');
        }
    }
    return out;
}

ControllerHint& hintFor(std::vector<ControllerHint>& hints, ControllerMaker maker) {
    auto found = std::find_if(hints.begin(), hints.end(),
                              [maker](const ControllerHint& hint) { return hint.maker == maker; });
    if (found == hints.end()) {
        hints.push_back({maker, {}, false, std::nullopt});
        return hints.back();
    }
    return *found;
}

void add(std::vector<ControllerHint>& hints, ControllerMaker maker, const std::string& reason,
         bool byInquiry, bool isKey) {
    ControllerHint& hint = hintFor(hints, maker);
    hint.reasons.push_back(reason);
    hint.byInquiry = hint.byInquiry || byInquiry;
    if (isKey && !hint.key) {
        hint.key = reason;
    }
}

std::string vidPidText(std::uint16_t vendorId, std::uint16_t productId) {
    return hexText(vendorId, 4) + ":" + hexText(productId, 4);
}

}  // namespace

std::string_view controllerMakerName(ControllerMaker maker) {
    switch (maker) {
        case ControllerMaker::Phison:
            return "Phison";
        case ControllerMaker::SiliconMotion:
            return "Silicon Motion";
        case ControllerMaker::Alcor:
            return "Alcor Micro";
        case ControllerMaker::ChipsBank:
            return "ChipsBank";
        case ControllerMaker::Innostor:
            return "Innostor";
        case ControllerMaker::Ite:
            return "ITE";
        case ControllerMaker::USBest:
            return "USBest";
    }
    return "?";
}

std::vector<ControllerHint> controllerHints(const UsbDrive& drive) {
    std::vector<ControllerHint> hints;
    // Markers of one maker's firmware alone.
    if (drive.inquiryRevision == "PMAP") {
        add(hints, ControllerMaker::Phison,
            "INQUIRY revision \"PMAP\", the marker of Phison firmware", true, true);
    } else if (bytesAre(drive.inquiry, 0x24, "PMAP")) {
        add(hints, ControllerMaker::Phison,
            "INQUIRY bytes 36-39 \"PMAP\", the marker of Phison firmware", true, true);
    }
    if (bytesAre(drive.inquiry, 5, "smi")) {
        add(hints, ControllerMaker::SiliconMotion,
            "INQUIRY bytes 5-7 \"smi\", the marker of Silicon Motion firmware", true, true);
    } else if (bytesAre(drive.inquiry, 0x35, "smi")) {
        add(hints, ControllerMaker::SiliconMotion,
            "INQUIRY bytes 53-55 \"smi\", the marker of Silicon Motion firmware", true, true);
    }
    // VID:PIDs listed as flash drives with that maker's controller.
    if (drive.vendorId && drive.productId) {
        for (const FlashDriveId& entry : kFlashDriveIds) {
            if (entry.vendorId == *drive.vendorId && entry.productId == *drive.productId) {
                add(hints, entry.maker,
                    "VID:PID " + vidPidText(entry.vendorId, entry.productId) +
                        " is listed as a flash drive with this maker's controller (usb.ids: \"" +
                        std::string(entry.listedAs) + "\")",
                    false, true);
            }
        }
    }
    // Alcor's revision: other firmware shows it too, so it counts only with Alcor's VID.
    const bool alcorVid = drive.vendorId == 0x058F;
    for (const std::string_view start : {"7.7", "8.0"}) {
        if (drive.inquiryRevision.starts_with(start)) {
            const std::string sign = "INQUIRY revision \"" + drive.inquiryRevision +
                                     "\" begins with \"" + std::string(start) + "\"";
            if (alcorVid) {
                add(hints, ControllerMaker::Alcor, sign + " together with Alcor's VID 058F", true,
                    true);
            } else {
                add(hints, ControllerMaker::Alcor,
                    sign +
                        ", as Alcor firmware reports, but other firmware does too (SanDisk "
                        "U3 drives report \"8.02\"): a hint only",
                    true, false);
            }
        }
    }
    if (drive.vendorId) {
        for (const MakerVendorId& entry : kMakerVendorIds) {
            if (entry.vendorId == *drive.vendorId) {
                add(hints, entry.maker,
                    "VID " + hexText(entry.vendorId, 4) + " is registered to " +
                        std::string(controllerMakerName(entry.maker)) +
                        " (a brand may use it for a drive with another controller, and the "
                        "maker for readers and cameras): a hint only",
                    false, false);
            }
        }
    }
    std::stable_sort(hints.begin(), hints.end(),
                     [](const ControllerHint& a, const ControllerHint& b) {
                         if (a.opensGate() != b.opensGate()) {
                             return a.opensGate();
                         }
                         return a.byInquiry && !b.byInquiry;
                     });
    return hints;
}

std::vector<std::string> readerSigns(const UsbDrive& drive) {
    std::vector<std::string> signs;
    if (drive.lunCount > 1) {
        signs.push_back("the USB interface has " + std::to_string(drive.lunCount) +
                        " SCSI devices (LUNs), as card readers and multi-function devices do");
    }
    if (drive.removable.value_or(false) && drive.sizeBytes == 0) {
        signs.emplace_back("removable media with none present, as a card reader's empty slot");
    }
    if (drive.vendorId && drive.productId) {
        for (const ReaderId& entry : kReaderIds) {
            if (entry.vendorId == *drive.vendorId && entry.productId == *drive.productId) {
                signs.push_back("VID:PID " + vidPidText(entry.vendorId, entry.productId) +
                                " is a reader or bridge: " + std::string(entry.listedAs));
            }
        }
    }
    for (const std::string& name : {drive.product, drive.inquiryProduct, drive.manufacturer}) {
        const std::string text = lower(name);
        for (const std::string_view word : kReaderWords) {
            if (text.find(word) != std::string::npos) {
                signs.push_back("the name \"" + name + "\" says \"" + std::string(word) + "\"");
                break;
            }
        }
    }
    return signs;
}

}  // namespace norvessa::drive
