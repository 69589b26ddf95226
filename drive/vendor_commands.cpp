#include "drive/vendor_commands.h"

#include "drive/scsi_transport.h"

#include <algorithm>
#include <stdexcept>

namespace norvessa::drive {

const VendorCommand& commandFor(CommandId id) {
    const auto* found =
        std::find_if(kCommands.begin(), kCommands.end(),
                     [id](const VendorCommand& command) { return command.id == id; });
    if (found == kCommands.end()) {
        throw std::logic_error("a command id without a table entry");
    }
    return *found;
}

ScsiReply ScsiTransport::execute(CommandId id) {
    const VendorCommand& command = commandFor(id);
    return transfer(std::span(command.block.data(), command.length), command.replyLength,
                    kCommandTimeout);
}

}  // namespace norvessa::drive
