#pragma once

// Reads a drive's controller and flash with the commands of vendor_commands.h, one at a time:
// first READ CAPACITY, then the vendor commands of each maker whose evidence opens the gate
// (controller_hint.h: a key, not a hint), until one maker's commands answer. A maker with a
// hint only gets no command. A refused or failed command (a refusal, a malformed reply) ends
// that maker's commands; a command that times out, or a transport error, ends the probe and
// keeps what was read, with the command that failed named.

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
    std::vector<std::uint8_t> firmwareDate;  // the raw date bytes (Phison 0x97-0x99)
    std::string runMode;
    std::optional<unsigned> badBlocks;
    std::vector<ChipEnableId> flashIds;
    // For each maker whose commands were sent, the evidence that opened the gate.
    std::vector<std::string> gate;
    // What went wrong or was passed over, command by command, in order.
    std::vector<std::string> notes;
    // The names of the commands sent, in order.
    std::vector<std::string> sent;
    // The command during which the transport failed, and how; the probe stopped there.
    std::optional<std::string> failedCommand;
    std::optional<std::string> transportError;

    bool answered() const { return maker.has_value(); }
};

// Never throws for what the device does: a transport error is kept in the result.
ProbeResult probeDrive(ScsiTransport& transport, const std::vector<ControllerHint>& hints);

}  // namespace norvessa::drive
