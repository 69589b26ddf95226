#pragma once

// The SG_IO ioctl on a Linux SCSI generic node (/dev/sgN), opened for reading and writing: the
// kernel passes vendor commands only on a node opened so, which needs root or write access to
// the node (group disk).

#include <filesystem>

#include "drive/scsi_transport.h"

namespace norvessa::drive {

class SgIoTransport : public ScsiTransport {
  public:
    // Throws TransportError saying what is missing when the node cannot be opened.
    explicit SgIoTransport(const std::filesystem::path& node);
    ~SgIoTransport() override;
    SgIoTransport(const SgIoTransport&) = delete;
    SgIoTransport& operator=(const SgIoTransport&) = delete;

    ScsiReply execute(std::span<const std::uint8_t> cdb, std::size_t dataInLength,
                      std::chrono::milliseconds timeout) override;

  private:
    std::filesystem::path node_;
    int descriptor_ = -1;
};

}  // namespace norvessa::drive
