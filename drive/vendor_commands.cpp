#include "drive/vendor_commands.h"

#include <algorithm>
#include <stdexcept>

namespace norvessa::drive {

const CommandSpec& commandSpec(CommandId id) {
    const auto* found = std::find_if(kCommands.begin(), kCommands.end(),
                                     [id](const CommandSpec& spec) { return spec.id == id; });
    if (found == kCommands.end()) {
        throw std::logic_error("a command id without a table entry");
    }
    return *found;
}

ScsiReply sendCommand(ScsiTransport& transport, CommandId id) {
    const CommandSpec& spec = commandSpec(id);
    return transport.execute(std::span(spec.block.data(), spec.length), spec.replyLength,
                             kCommandTimeout);
}

}  // namespace norvessa::drive
