#include "drive/sysfs_drives.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <stdexcept>
#include <system_error>

#ifdef __linux__
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace norvessa::drive {

namespace fs = std::filesystem;

namespace {

// The tree being read: attributes only as regular files inside it.
class Tree {
  public:
    explicit Tree(fs::path root) : root_(std::move(root)) {}
    const fs::path& root() const { return root_; }

    bool contains(const fs::path& path) const {
        const auto [rootEnd, pathAt] =
            std::mismatch(root_.begin(), root_.end(), path.begin(), path.end());
        return rootEnd == root_.end();
    }

    // The real path of `path`, when it resolves inside the tree.
    std::optional<fs::path> resolved(const fs::path& path) const {
        std::error_code error;
        fs::path real = fs::canonical(path, error);
        if (error || !contains(real)) {
            return std::nullopt;
        }
        return real;
    }

    // At most kMaxAttributeBytes of a regular file inside the tree; nothing otherwise.
    std::optional<std::string> read(const fs::path& file) const {
        const auto real = resolved(file);
        if (!real) {
            return std::nullopt;
        }
#ifdef __linux__
        // No blocking on a FIFO, no following a link swapped in since.
        const int descriptor =
            ::open(real->c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (descriptor < 0) {
            return std::nullopt;
        }
        struct stat status {};
        if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(descriptor);
            return std::nullopt;
        }
        std::string bytes(kMaxAttributeBytes + 1, '\0');
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const ssize_t count = ::read(descriptor, bytes.data() + filled, bytes.size() - filled);
            if (count <= 0) {
                break;
            }
            filled += static_cast<std::size_t>(count);
        }
        ::close(descriptor);
#else
        std::error_code error;
        if (!fs::is_regular_file(fs::symlink_status(*real, error)) || error) {
            return std::nullopt;
        }
        std::ifstream in(*real, std::ios::binary);
        std::string bytes(kMaxAttributeBytes + 1, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const auto filled = static_cast<std::size_t>(in.gcount());
#endif
        if (filled > kMaxAttributeBytes) {
            return std::nullopt;  // no sysfs attribute is larger than a page
        }
        bytes.resize(filled);
        return bytes;
    }

    bool has(const fs::path& file) const {
        return read(file).has_value();
    }

    // The entries of a folder inside the tree, in no order; errors end the list quietly.
    std::vector<fs::path> entries(const fs::path& folder) const {
        std::vector<fs::path> found;
        const auto real = resolved(folder);
        if (!real) {
            return found;
        }
        std::error_code error;
        for (fs::directory_iterator it(*real, error), end; !error && it != end;
             it.increment(error)) {
            found.push_back(it->path());
        }
        return found;
    }

  private:
    fs::path root_;
};

std::string trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::string attribute(const Tree& tree, const fs::path& folder, std::string_view name) {
    return trimmed(tree.read(folder / name).value_or(std::string()));
}

std::optional<std::uint64_t> numberAttribute(const Tree& tree, const fs::path& folder,
                                             std::string_view name, int base = 10) {
    const std::string text = attribute(tree, folder, name);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint16_t> hexId(const Tree& tree, const fs::path& folder,
                                   std::string_view name) {
    const auto value = numberAttribute(tree, folder, name, 16);
    if (!value || *value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

// "8:32" as the dev attribute writes it.
std::optional<DeviceNumber> deviceNumber(const Tree& tree, const fs::path& folder) {
    const std::string text = attribute(tree, folder, "dev");
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    DeviceNumber number;
    const auto [majorEnd, majorError] =
        std::from_chars(text.data(), text.data() + colon, number.major);
    const auto [minorEnd, minorError] =
        std::from_chars(text.data() + colon + 1, text.data() + text.size(), number.minor);
    if (majorError != std::errc() || minorError != std::errc() || majorEnd != text.data() + colon ||
        minorEnd != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

bool isLunName(const std::string& name) {
    // "0:0:0:0": host, channel, target, LUN.
    return std::count(name.begin(), name.end(), ':') == 3 &&
           std::all_of(name.begin(), name.end(),
                       [](char c) { return c == ':' || (c >= '0' && c <= '9'); });
}

// SCSI devices below the USB interface: host*/target*/H:C:T:L.
int countLuns(const Tree& tree, const fs::path& interface) {
    int count = 0;
    for (const fs::path& host : tree.entries(interface)) {
        if (!host.filename().string().starts_with("host")) {
            continue;
        }
        for (const fs::path& target : tree.entries(host)) {
            if (!target.filename().string().starts_with("target")) {
                continue;
            }
            for (const fs::path& lun : tree.entries(target)) {
                count += isLunName(lun.filename().string()) ? 1 : 0;
            }
        }
    }
    return std::max(count, 1);
}

std::optional<UsbDrive> readDrive(const Tree& tree, const fs::path& blockLink) {
    const auto block = tree.resolved(blockLink);
    const auto device = tree.resolved(blockLink / "device");
    if (!block || !device) {
        return std::nullopt;
    }
    // Up from the SCSI device to the USB interface and the USB device it belongs to.
    std::optional<fs::path> interface;
    std::optional<fs::path> usbDevice;
    for (fs::path folder = device->parent_path(); tree.contains(folder) && folder != tree.root();
         folder = folder.parent_path()) {
        if (!interface && tree.has(folder / "bInterfaceClass")) {
            interface = folder;
        }
        if (tree.has(folder / "idVendor")) {
            usbDevice = folder;
            break;
        }
        if (folder == folder.parent_path()) {
            break;
        }
    }
    if (!usbDevice || !interface) {
        return std::nullopt;
    }
    if (numberAttribute(tree, *interface, "bInterfaceClass", 16) != 0x08) {
        return std::nullopt;
    }

    UsbDrive drive;
    drive.blockName = blockLink.filename().string();
    drive.blockDevice = deviceNumber(tree, *block);
    for (const fs::path& entry : tree.entries(*device / "scsi_generic")) {
        const std::string name = entry.filename().string();
        if (!drive.sgName || name < *drive.sgName) {
            drive.sgName = name;
            drive.sgDevice = deviceNumber(tree, entry);
        }
    }
    for (const fs::path& entry : tree.entries(*block)) {
        if (tree.has(entry / "partition")) {
            if (const auto number = deviceNumber(tree, entry)) {
                drive.partitions.emplace_back(entry.filename().string(), *number);
            }
        }
    }
    drive.usbPath = usbDevice->filename().string();
    drive.vendorId = hexId(tree, *usbDevice, "idVendor");
    drive.productId = hexId(tree, *usbDevice, "idProduct");
    drive.bcdDevice = attribute(tree, *usbDevice, "bcdDevice");
    drive.manufacturer = attribute(tree, *usbDevice, "manufacturer");
    drive.product = attribute(tree, *usbDevice, "product");
    drive.serial = attribute(tree, *usbDevice, "serial");
    drive.usbVersion = attribute(tree, *usbDevice, "version");
    drive.speed = attribute(tree, *usbDevice, "speed");
    drive.maxPower = attribute(tree, *usbDevice, "bMaxPower");
    drive.interfaceProtocol = attribute(tree, *interface, "bInterfaceProtocol");
    drive.lunCount = countLuns(tree, *interface);
    drive.inquiryVendor = attribute(tree, *device, "vendor");
    drive.inquiryProduct = attribute(tree, *device, "model");
    drive.inquiryRevision = attribute(tree, *device, "rev");
    if (const auto inquiry = tree.read(*device / "inquiry")) {
        drive.inquiry.assign(inquiry->begin(), inquiry->end());
    }
    if (const auto sectors = numberAttribute(tree, *block, "size")) {
        // The size attribute counts 512-byte sectors whatever the drive's own block size.
        if (*sectors <= UINT64_MAX / 512) {
            drive.sizeBytes = *sectors * 512;
        }
    }
    if (const auto removable = numberAttribute(tree, *block, "removable")) {
        drive.removable = *removable != 0;
    }
    return drive;
}

}  // namespace

std::vector<UsbDrive> listUsbDrives(const fs::path& root) {
    std::error_code error;
    const fs::path realRoot = fs::canonical(root, error);
    if (error || !fs::is_directory(realRoot / "block", error)) {
        throw std::runtime_error(root.string() + " is not a sysfs tree: it has no block folder");
    }
    const Tree tree(realRoot);
    std::vector<UsbDrive> drives;
    for (const fs::path& entry : tree.entries(realRoot / "block")) {
        if (auto drive = readDrive(tree, entry)) {
            drives.push_back(std::move(*drive));
        }
    }
    std::sort(drives.begin(), drives.end(), [](const UsbDrive& a, const UsbDrive& b) {
        return a.blockName.size() != b.blockName.size() ? a.blockName.size() < b.blockName.size()
                                                        : a.blockName < b.blockName;
    });
    return drives;
}

std::optional<DeviceNode> deviceNodeOf(const fs::path& path) {
#ifdef __linux__
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    if (!S_ISBLK(status.st_mode) && !S_ISCHR(status.st_mode)) {
        return std::nullopt;
    }
    return DeviceNode{{major(status.st_rdev), minor(status.st_rdev)}, S_ISBLK(status.st_mode)};
#else
    (void)path;
    return std::nullopt;
#endif
}

std::optional<UsbDrive> findUsbDrive(const std::vector<UsbDrive>& drives, const DeviceNode& node) {
    for (const UsbDrive& drive : drives) {
        const auto& number = node.block ? drive.blockDevice : drive.sgDevice;
        if (number == node.number) {
            return drive;
        }
    }
    return std::nullopt;
}

std::optional<std::pair<UsbDrive, std::string>> findPartition(const std::vector<UsbDrive>& drives,
                                                              const DeviceNode& node) {
    if (!node.block) {
        return std::nullopt;
    }
    for (const UsbDrive& drive : drives) {
        for (const auto& [name, number] : drive.partitions) {
            if (number == node.number) {
                return std::pair(drive, name);
            }
        }
    }
    return std::nullopt;
}

std::string speedName(std::string_view speed) {
    if (speed == "1.5") {
        return "low speed";
    }
    if (speed == "12") {
        return "full speed";
    }
    if (speed == "480") {
        return "high speed";
    }
    if (speed == "5000") {
        return "SuperSpeed";
    }
    if (speed == "10000" || speed == "20000") {
        return "SuperSpeed+";
    }
    return {};
}

std::string usbLinkRemark(const UsbDrive& drive) {
    int declaredMajor = 0;
    std::from_chars(drive.usbVersion.data(), drive.usbVersion.data() + drive.usbVersion.size(),
                    declaredMajor);
    const bool usb2Link = drive.speed == "480" || drive.speed == "12" || drive.speed == "1.5";
    if (declaredMajor >= 3 && usb2Link) {
        return "USB 3 device in a USB 2 port";
    }
    return {};
}

}  // namespace norvessa::drive
