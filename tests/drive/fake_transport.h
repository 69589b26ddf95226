#pragma once

// A SCSI transport that answers from a table of replies keyed by the whole command block, and
// records every block it is sent. A block it has no reply for is refused as a drive refuses an
// unknown command: CHECK CONDITION, ILLEGAL REQUEST, invalid command operation code.

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "drive/reply_layouts.h"
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

    // The transport fails (a host adapter error) on this command.
    void failTransport(CommandId id) {
        const VendorCommand& command = commandFor(id);
        failing_.emplace_back(command.block.begin(), command.block.begin() + command.length);
    }

    std::vector<Bytes> sent;
    std::vector<std::chrono::milliseconds> timeouts;

  private:
    ScsiReply transfer(std::span<const std::uint8_t> cdb, std::size_t dataInLength,
                       std::chrono::milliseconds timeout) override {
        sent.emplace_back(cdb.begin(), cdb.end());
        timeouts.push_back(timeout);
        if (std::find(failing_.begin(), failing_.end(), Bytes(cdb.begin(), cdb.end())) !=
            failing_.end()) {
            throw TransportError("/dev/sg9: the host adapter reported error 7 (DID_ code)");
        }
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

    std::map<Bytes, ScsiReply> replies_;
    std::vector<Bytes> failing_;
};

inline void put(Bytes& page, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), page.begin() + static_cast<std::ptrdiff_t>(offset));
}

inline void put(Bytes& page, std::size_t offset, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Replies laid out as the sources document them, at the offsets the parsers read
// (drive/reply_layouts.h).

inline Bytes phisonInfoPage(std::string_view runMode = "        ") {
    namespace at = layout::phison_info;
    Bytes page(at::kLength, 0);
    put(page, at::kFirmwareVersion, Bytes{1, 0x23, 0x45});  // version 1.23.45
    put(page, at::kFirmwareDate, Bytes{14, 11, 28});
    put(page, at::kRunMode, runMode);
    page[at::kUsbVersion] = 0x30;
    put(page, at::kMarker, at::kMarkerText);
    put(page, at::kChipType, Bytes{0x23, 0x07});
    page[at::kChipByte] = 0x5A;
    put(page, at::kIfMark, at::kIfMarkText);
    return page;
}

// One slot of 16 bytes per chip enable, from `offset`.
inline Bytes idSlots(std::size_t offset, const std::vector<Bytes>& chipEnables) {
    Bytes page(512, 0);
    for (std::size_t slot = 0; slot < chipEnables.size(); ++slot) {
        put(page, offset + layout::id_slots::kSlotBytes * slot, chipEnables[slot]);
    }
    return page;
}

inline Bytes smiInfoPage() {
    namespace at = layout::smi_info;
    Bytes page(512, 0);
    put(page, at::kFirmwareVersion, "ISP 140513-AA-");
    put(page, at::kModel, "SM3257EN");
    return page;
}

inline Bytes alcorChipPage(std::uint16_t chipId, std::uint8_t badBlocks, bool firmwareLoaded) {
    namespace at = layout::alcor_chip;
    Bytes page(512, 0);
    put(page, at::kChipId,
        Bytes{static_cast<std::uint8_t>(chipId >> 8), static_cast<std::uint8_t>(chipId)});
    page[at::kBadBlocks] = badBlocks;
    page[at::kFirmwareValid] = at::kFirmwareValidMark;
    page[at::kFirmwareLoaded] = firmwareLoaded ? 1 : 0;
    put(page, at::kOldFirmwareVersion, Bytes{0x12, 0x34});
    return page;
}

inline Bytes alcorFirmwarePage(std::uint8_t revision, const Bytes& version) {
    namespace at = layout::alcor_firmware;
    Bytes page(512, 0);
    page[at::kChipRevision] = revision;
    put(page, at::kFirmwareVersion, version);
    return page;
}

inline Bytes readCapacity10(std::uint32_t lastLba, std::uint32_t blockBytes) {
    namespace at = layout::read_capacity10;
    Bytes reply(at::kLength, 0);
    for (int index = 0; index < 4; ++index) {
        reply[at::kLastLba + static_cast<std::size_t>(index)] =
            static_cast<std::uint8_t>(lastLba >> (24 - 8 * index));
        reply[at::kBlockLength + static_cast<std::size_t>(index)] =
            static_cast<std::uint8_t>(blockBytes >> (24 - 8 * index));
    }
    return reply;
}

inline Bytes readCapacity16(std::uint64_t lastLba, std::uint32_t blockBytes) {
    namespace at = layout::read_capacity16;
    Bytes reply(32, 0);
    for (int index = 0; index < 8; ++index) {
        reply[at::kLastLba + static_cast<std::size_t>(index)] =
            static_cast<std::uint8_t>(lastLba >> (56 - 8 * index));
    }
    for (int index = 0; index < 4; ++index) {
        reply[at::kBlockLength + static_cast<std::size_t>(index)] =
            static_cast<std::uint8_t>(blockBytes >> (24 - 8 * index));
    }
    return reply;
}

}  // namespace norvessa::drive::testing
