#include "drive/sg_io_transport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef __linux__
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace norvessa::drive {

namespace {

constexpr std::size_t kMaxSense = 32;
// The kernel's words for a command that ran out of time: the host's DID_TIME_OUT and the
// driver's DRIVER_TIMEOUT.
constexpr unsigned kHostTimeout = 0x03;
constexpr unsigned kDriverTimeout = 0x06;

}  // namespace

#ifdef __linux__

SgIoTransport::SgIoTransport(const std::filesystem::path& node,
                             std::optional<DeviceNumber> expected)
    : node_(node) {
    // Linux filters the opcodes sent through a node opened read-only, but lets every one
    // through for a caller with CAP_SYS_RAWIO (root): root needs no write access. A user
    // without it gets vendor commands through only on a node opened for writing (group disk).
    const bool root = ::geteuid() == 0;
    const int mode = root ? O_RDONLY : O_RDWR;
    descriptor_ = ::open(node.c_str(), mode | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor_ < 0) {
        const int error = errno;
        if (!root && (error == EACCES || error == EPERM)) {
            throw TransportError(
                "cannot open " + node.string() +
                " for writing: permission denied. Linux passes vendor commands from a user "
                "without CAP_SYS_RAWIO only through a SCSI generic node opened for writing "
                "(nothing is written to the drive): run as root, which opens it read-only, or "
                "use a user in the group that owns " +
                node.string() + " (disk)");
        }
        throw TransportError("cannot open " + node.string() + ": " + std::strerror(error));
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISCHR(status.st_mode)) {
        ::close(descriptor_);
        descriptor_ = -1;
        throw TransportError(node.string() + " is not a SCSI generic node (/dev/sgN)");
    }
    if (expected &&
        (major(status.st_rdev) != expected->major || minor(status.st_rdev) != expected->minor)) {
        ::close(descriptor_);
        descriptor_ = -1;
        throw TransportError(node.string() + " is device " + std::to_string(major(status.st_rdev)) +
                             ":" + std::to_string(minor(status.st_rdev)) + ", not the " +
                             std::to_string(expected->major) + ":" +
                             std::to_string(expected->minor) + " sysfs names; nothing was sent");
    }
    int version = 0;
    if (::ioctl(descriptor_, SG_GET_VERSION_NUM, &version) < 0 || version < 30000) {
        ::close(descriptor_);
        descriptor_ = -1;
        throw TransportError(node.string() + " is not a SCSI generic node (/dev/sgN)");
    }
}

SgIoTransport::~SgIoTransport() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

ScsiReply SgIoTransport::transfer(std::span<const std::uint8_t> cdb, std::size_t dataInLength,
                                  std::chrono::milliseconds timeout) {
    if (cdb.empty() || cdb.size() > 16) {
        throw TransportError("a command block has 1 to 16 bytes");
    }
    ScsiReply reply;
    reply.data.assign(dataInLength, 0);
    reply.sense.assign(kMaxSense, 0);
    std::uint8_t command[16] = {};
    std::memcpy(command, cdb.data(), cdb.size());

    sg_io_hdr_t header{};
    header.interface_id = 'S';
    header.cmdp = command;
    header.cmd_len = static_cast<unsigned char>(cdb.size());
    header.dxfer_direction = dataInLength > 0 ? SG_DXFER_FROM_DEV : SG_DXFER_NONE;
    header.dxferp = dataInLength > 0 ? reply.data.data() : nullptr;
    header.dxfer_len = static_cast<unsigned>(dataInLength);
    header.sbp = reply.sense.data();
    header.mx_sb_len = static_cast<unsigned char>(kMaxSense);
    header.timeout = static_cast<unsigned>(timeout.count());
    if (::ioctl(descriptor_, SG_IO, &header) < 0) {
        throw TransportError("SG_IO on " + node_.string() + " failed: " + std::strerror(errno));
    }
    reply.timedOut =
        header.host_status == kHostTimeout || (header.driver_status & 0x0F) == kDriverTimeout;
    reply.status = header.status;
    if (header.host_status != 0 && !reply.timedOut) {
        throw TransportError(node_.string() + ": the host adapter reported error " +
                             std::to_string(header.host_status) + " (DID_ code)");
    }
    reply.sense.resize(std::min<std::size_t>(header.sb_len_wr, kMaxSense));
    const int resid = header.resid;
    const std::size_t shortBy = resid > 0 ? static_cast<std::size_t>(resid) : 0;
    const std::size_t received = shortBy <= dataInLength ? dataInLength - shortBy : 0;
    reply.data.resize(received);
    return reply;
}

#else

SgIoTransport::SgIoTransport(const std::filesystem::path& node, std::optional<DeviceNumber>)
    : node_(node) {
    throw TransportError("vendor commands through " + node.string() + " need Linux (SG_IO)");
}

SgIoTransport::~SgIoTransport() = default;

ScsiReply SgIoTransport::transfer(std::span<const std::uint8_t>, std::size_t,
                                  std::chrono::milliseconds) {
    throw TransportError("SG_IO needs Linux");
}

#endif

std::string senseText(std::span<const std::uint8_t> sense) {
    if (sense.size() < 3) {
        return "no sense data";
    }
    const std::uint8_t code = sense[0] & 0x7F;
    unsigned key = 0;
    unsigned asc = 0;
    unsigned ascq = 0;
    if (code == 0x72 || code == 0x73) {  // descriptor format
        key = sense[1] & 0x0F;
        asc = sense[2];
        ascq = sense.size() > 3 ? sense[3] : 0;
    } else if (code == 0x70 || code == 0x71) {
        key = sense[2] & 0x0F;
        asc = sense.size() > 12 ? sense[12] : 0;
        ascq = sense.size() > 13 ? sense[13] : 0;
    } else {
        return "sense data of unknown format";
    }
    static constexpr const char* kKeys[] = {
        "NO SENSE",       "RECOVERED ERROR", "NOT READY",      "MEDIUM ERROR",
        "HARDWARE ERROR", "ILLEGAL REQUEST", "UNIT ATTENTION", "DATA PROTECT",
        "BLANK CHECK",    "VENDOR SPECIFIC", "COPY ABORTED",   "ABORTED COMMAND",
        "RESERVED",       "VOLUME OVERFLOW", "MISCOMPARE",     "COMPLETED"};
    char text[96];
    std::snprintf(text, sizeof text, "sense key %X (%s), ASC %02X ASCQ %02X", key, kKeys[key], asc,
                  ascq);
    return text;
}

}  // namespace norvessa::drive
