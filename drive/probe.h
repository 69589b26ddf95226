#pragma once

// Reads a drive's controller and flash with the commands of vendor_commands.h, one at a time:
// first READ CAPACITY, then the vendor commands of each maker its hints name (those with
// INQUIRY evidence first) until one maker's commands answer. A maker no hint names gets no
// command; Alcor's 9A goes only where the INQUIRY data names Alcor. A refused first command
// ends that maker's commands; a command that times out ends the probe.

#include <optional>
#include <string>
#include <vector>

#include "drive/controller_hint.h"
#include "drive/reply_parsers.h"
#include "drive/scsi_transport.h"

namespace norvessa::drive {

struct ProbeResult {
    std::optional<Capacity> announced;
    std::optional<ControllerMaker> maker;  // the maker whose commands answered
    std::string controller;                // "Phison PS2307", "SM3257ENBA", "Alcor AU6989/AU6998"
    std::string firmwareVersion;
    std::string firmwareDate;
    std::string runMode;
    std::optional<unsigned> badBlocks;
    std::vector<ChipEnableId> flashIds;
    // What went wrong or was passed over, command by command, in order.
    std::vector<std::string> notes;
    // The names of the commands sent, in order.
    std::vector<std::string> sent;

    bool answered() const { return maker.has_value(); }
};

// Throws TransportError when the device cannot be talked to at all.
ProbeResult probeDrive(ScsiTransport& transport, const std::vector<ControllerHint>& hints);

}  // namespace norvessa::drive
