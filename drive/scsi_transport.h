#pragma once

// How SCSI commands reach a drive: a command of the table in vendor_commands.h in; the status,
// the sense data and the data the drive sent back out. Data only ever flows from the drive:
// nothing this program sends carries data to it. A transport is asked by command id only, so
// a command block that is not in the table cannot reach it.

#include <chrono>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "drive/vendor_commands.h"

namespace norvessa::drive {

struct ScsiReply {
    bool timedOut = false;
    std::uint8_t status = 0;  // SCSI status: 0 GOOD, 2 CHECK CONDITION
    std::vector<std::uint8_t> sense;
    std::vector<std::uint8_t> data;  // what the drive sent, at most the length asked for

    bool good() const { return !timedOut && status == 0; }
};

// A failure to talk to the device at all (it cannot be opened, the call fails); the message
// names the device and what to do.
class TransportError : public std::runtime_error {
  public:
    explicit TransportError(const std::string& message) : std::runtime_error(message) {}
};

class ScsiTransport {
  public:
    virtual ~ScsiTransport() = default;
    // Sends the block the table holds for `id`, reads up to its reply length, within
    // kCommandTimeout. Throws TransportError.
    ScsiReply execute(CommandId id);

  private:
    // The one way to the device, called by execute() only, with a block of the table.
    virtual ScsiReply transfer(std::span<const std::uint8_t> cdb, std::size_t dataInLength,
                               std::chrono::milliseconds timeout) = 0;
};

// "sense key 5 (ILLEGAL REQUEST), ASC 20 ASCQ 00" from fixed or descriptor sense data.
std::string senseText(std::span<const std::uint8_t> sense);

}  // namespace norvessa::drive
