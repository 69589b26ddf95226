#pragma once

// Which controller maker a drive may have inside, from what sysfs shows without any command:
// the USB vendor ID and the INQUIRY data. A hint, never a fact: branded drives carry the
// brand's VID, and usb.ids lists parts of one maker under another's VID. The INQUIRY revision
// "PMAP" names Phison firmware whatever the VID.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drive/sysfs_drives.h"

namespace norvessa::drive {

enum class ControllerMaker {
    Phison,
    SiliconMotion,
    Alcor,
    ChipsBank,
    Innostor,
    Ite,
    USBest,
};

std::string_view controllerMakerName(ControllerMaker maker);

struct ControllerHint {
    ControllerMaker maker;
    std::vector<std::string> reasons;  // 'INQUIRY revision "PMAP"', "VID 13FE ..."
    // At least one reason is INQUIRY data, the firmware's own word; a VID is only the USB
    // descriptor's.
    bool byInquiry = false;
};

// One hint per maker, those with INQUIRY evidence first.
std::vector<ControllerHint> controllerHints(const UsbDrive& drive);

}  // namespace norvessa::drive
