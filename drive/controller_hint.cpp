#include "drive/controller_hint.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "drive/units.h"

namespace norvessa::drive {

namespace {

// Vendor IDs that usb.ids gives to controller makers (usb.ids 2025.07.26).
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

bool bytesAre(const std::vector<std::uint8_t>& data, std::size_t offset, std::string_view text) {
    if (data.size() < offset + text.size()) {
        return false;
    }
    return std::equal(text.begin(), text.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                      [](char expected, std::uint8_t byte) {
                          return static_cast<std::uint8_t>(expected) == byte;
                      });
}

void add(std::vector<ControllerHint>& hints, ControllerMaker maker, std::string reason,
         bool byInquiry) {
    auto found = std::find_if(hints.begin(), hints.end(),
                              [maker](const ControllerHint& hint) { return hint.maker == maker; });
    if (found == hints.end()) {
        hints.push_back({maker, {}, false});
        found = hints.end() - 1;
    }
    found->reasons.push_back(std::move(reason));
    found->byInquiry = found->byInquiry || byInquiry;
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
    // What Phison, Silicon Motion and Alcor firmware writes into the INQUIRY data.
    if (drive.inquiryRevision == "PMAP") {
        add(hints, ControllerMaker::Phison, "INQUIRY revision \"PMAP\" (Phison firmware)", true);
    } else if (bytesAre(drive.inquiry, 0x24, "PMAP")) {
        add(hints, ControllerMaker::Phison, "INQUIRY bytes 36-39 \"PMAP\" (Phison firmware)", true);
    }
    if (bytesAre(drive.inquiry, 5, "smi")) {
        add(hints, ControllerMaker::SiliconMotion, "INQUIRY bytes 5-7 \"smi\"", true);
    }
    for (const std::string_view start : {"7.7", "8.0"}) {
        if (drive.inquiryRevision.starts_with(start)) {
            add(hints, ControllerMaker::Alcor,
                "INQUIRY revision \"" + drive.inquiryRevision + "\" begins with \"" +
                    std::string(start) + "\", as Alcor firmware reports",
                true);
        }
    }
    if (drive.vendorId) {
        for (const MakerVendorId& entry : kMakerVendorIds) {
            if (entry.vendorId == *drive.vendorId) {
                add(hints, entry.maker,
                    "VID " + hexText(entry.vendorId, 4) + " is registered to " +
                        std::string(controllerMakerName(entry.maker)) +
                        " (a brand may use it for a drive with another controller)",
                    false);
            }
        }
    }
    std::stable_sort(hints.begin(), hints.end(),
                     [](const ControllerHint& a, const ControllerHint& b) {
                         return a.byInquiry && !b.byInquiry;
                     });
    return hints;
}

}  // namespace norvessa::drive
