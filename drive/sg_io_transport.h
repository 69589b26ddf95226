#pragma once

// The SG_IO ioctl on a Linux SCSI generic node (/dev/sgN). Root opens it read-only (the kernel
// lets every opcode through for CAP_SYS_RAWIO); another user opens it for reading and writing,
// which Linux needs before it passes a vendor command from that user (group disk). Nothing is
// written to the drive either way.

#include <filesystem>
#include <optional>

#include "drive/scsi_transport.h"

namespace norvessa::drive {

class SgIoTransport : public ScsiTransport {
  public:
    // Throws TransportError saying what is missing when the node cannot be opened, is no
    // character device, or is another device than `expected` (the number sysfs gives).
    explicit SgIoTransport(const std::filesystem::path& node,
                           std::optional<DeviceNumber> expected = std::nullopt);
    ~SgIoTransport() override;
    SgIoTransport(const SgIoTransport&) = delete;
    SgIoTransport& operator=(const SgIoTransport&) = delete;

  private:
    ScsiReply transfer(std::span<const std::uint8_t> cdb, std::size_t dataInLength,
                       std::chrono::milliseconds timeout) override;

    std::filesystem::path node_;
    int descriptor_ = -1;
};

}  // namespace norvessa::drive
