#pragma once

// Which controller maker a drive may have inside, from what sysfs shows without any command,
// and whether that evidence opens the gate to the maker's vendor commands.
//
// A hint is what the VID or the INQUIRY data suggests; a key is evidence that establishes the
// maker, and only a key lets that maker's commands reach the drive:
// - a marker public sources tie to one maker's firmware alone: Phison's INQUIRY revision "PMAP"
//   (or "PMAP" at INQUIRY bytes 36-39), Silicon Motion's "smi" at INQUIRY bytes 5-7 or 53-55;
// - a VID:PID that public lists name as a flash drive with that maker's controller (not a
//   reader, hub or camera);
// - a weaker sign other firmware shows too, Alcor's revision beginning "8.0" or "7.7" (a SanDisk
//   U3 Cruzer Micro, 0781:5406, reports "8.02"), only together with Alcor's VID 058F.
// A VID alone, or a revision pattern alone, is a hint to show, never a key.
//
// Card readers and multi-function devices are recognised (several LUNs, removable media with
// none present, reader VID:PIDs, reader names) and get no command at all.

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
    std::vector<std::string> reasons;  // 'INQUIRY revision "PMAP" ...', "VID 13FE ..."
    // At least one reason is INQUIRY data, the firmware's own word.
    bool byInquiry = false;
    // The evidence that establishes the maker and opens the gate to its commands; none for a
    // hint only.
    std::optional<std::string> key;

    bool opensGate() const { return key.has_value(); }
};

// One hint per maker, those with a key first, then those with INQUIRY evidence.
std::vector<ControllerHint> controllerHints(const UsbDrive& drive);

// Why the device is a card reader or a multi-function device; empty for a drive.
std::vector<std::string> readerSigns(const UsbDrive& drive);

}  // namespace norvessa::drive
