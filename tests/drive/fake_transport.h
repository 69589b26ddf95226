#pragma once

// A SCSI transport that answers from a table of replies keyed by the whole command block, and
// records every block it is sent. A block it has no reply for is refused as a drive refuses an
// unknown command: CHECK CONDITION, ILLEGAL REQUEST, invalid command operation code.

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "drive/scsi_transport.h"
#include "drive/vendor_commands.h"

namespace norvessa::drive::testing {

using Bytes = std::vector<std::uint8_t>;

class FakeTransport : public ScsiTransport {
  public:
    void answer(CommandId id, Bytes data) {
        const VendorCommand& command = commandFor(id);
        ScsiReply reply;
        reply.data = std::move(data);
        replies_[Bytes(command.block.begin(), command.block.begin() + command.length)] = reply;
    }
    void timeOut(CommandId id) {
        const VendorCommand& command = commandFor(id);
        ScsiReply reply;
        reply.timedOut = true;
        replies_[Bytes(command.block.begin(), command.block.begin() + command.length)] = reply;
    }

    ScsiReply execute(std::span<const std::uint8_t> cdb, std::size_t dataInLength,
                      std::chrono::milliseconds timeout) override {
        sent.emplace_back(cdb.begin(), cdb.end());
        timeouts.push_back(timeout);
        const auto found = replies_.find(Bytes(cdb.begin(), cdb.end()));
        if (found == replies_.end()) {
            ScsiReply refused;
            refused.status = 2;
            refused.sense = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x20, 0x00};
            return refused;
        }
        ScsiReply reply = found->second;
        if (reply.data.size() > dataInLength) {
            reply.data.resize(dataInLength);
        }
        return reply;
    }

    std::vector<Bytes> sent;
    std::vector<std::chrono::milliseconds> timeouts;

  private:
    std::map<Bytes, ScsiReply> replies_;
};

inline void put(Bytes& page, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), page.begin() + static_cast<std::ptrdiff_t>(offset));
}

inline void put(Bytes& page, std::size_t offset, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Replies laid out as the sources document them (drive/reply_parsers.h).

inline Bytes phisonInfoPage(std::string_view runMode = "        ") {
    Bytes page(528, 0);
    put(page, 0x94, Bytes{1, 0x23, 0x45, 14, 11, 28});  // version 1.23.45, date 14/11/28
    put(page, 0xA0, runMode);
    page[0xF5] = 0x30;
    put(page, 0x17A, "VR");
    put(page, 0x17E, Bytes{0x23, 0x07});
    page[0x1C6] = 0x5A;
    put(page, 0x200, "IF");
    return page;
}

// One slot of 16 bytes per chip enable, from `offset`.
inline Bytes idSlots(std::size_t offset, const std::vector<Bytes>& chipEnables) {
    Bytes page(512, 0);
    for (std::size_t slot = 0; slot < chipEnables.size(); ++slot) {
        put(page, offset + 16 * slot, chipEnables[slot]);
    }
    return page;
}

inline Bytes smiInfoPage() {
    Bytes page(512, 0);
    put(page, 0x190, "ISP 140513-AA-");
    put(page, 0x1AE, "SM3257EN");
    return page;
}

inline Bytes readCapacity10(std::uint32_t lastLba, std::uint32_t blockBytes) {
    return {
        static_cast<std::uint8_t>(lastLba >> 24),    static_cast<std::uint8_t>(lastLba >> 16),
        static_cast<std::uint8_t>(lastLba >> 8),     static_cast<std::uint8_t>(lastLba),
        static_cast<std::uint8_t>(blockBytes >> 24), static_cast<std::uint8_t>(blockBytes >> 16),
        static_cast<std::uint8_t>(blockBytes >> 8),  static_cast<std::uint8_t>(blockBytes)};
}

}  // namespace norvessa::drive::testing
