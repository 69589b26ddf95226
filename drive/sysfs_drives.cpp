#include "drive/sysfs_drives.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace norvessa::drive {

namespace fs = std::filesystem;

namespace {

// sysfs attributes are at most a page; a recorded tree may hold anything, so reads stop there.
constexpr std::size_t kMaxAttributeBytes = 4096;

std::optional<std::string> readAttributeBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(kMaxAttributeBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::string trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::string attribute(const fs::path& folder, std::string_view name) {
    return trimmed(readAttributeBytes(folder / name).value_or(std::string()));
}

std::optional<std::uint64_t> numberAttribute(const fs::path& folder, std::string_view name,
                                             int base = 10) {
    const std::string text = attribute(folder, name);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint16_t> hexId(const fs::path& folder, std::string_view name) {
    const auto value = numberAttribute(folder, name, 16);
    if (!value || *value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

bool isWithin(const fs::path& path, const fs::path& root) {
    const auto [rootEnd, pathAt] =
        std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return rootEnd == root.end();
}

std::optional<fs::path> resolved(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    if (error) {
        return std::nullopt;
    }
    return real;
}

std::optional<UsbDrive> readDrive(const fs::path& root, const fs::path& blockLink) {
    const auto block = resolved(blockLink);
    const auto device = resolved(blockLink / "device");
    if (!block || !device || !isWithin(*device, root)) {
        return std::nullopt;
    }
    // Up from the SCSI device to the USB interface and the USB device it belongs to.
    std::optional<fs::path> interface;
    std::optional<fs::path> usbDevice;
    for (fs::path folder = device->parent_path(); isWithin(folder, root) && folder != root;
         folder = folder.parent_path()) {
        if (!interface && fs::exists(folder / "bInterfaceClass")) {
            interface = folder;
        }
        if (fs::exists(folder / "idVendor")) {
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
    if (numberAttribute(*interface, "bInterfaceClass", 16) != 0x08) {
        return std::nullopt;
    }

    UsbDrive drive;
    drive.blockName = blockLink.filename().string();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(*device / "scsi_generic", error)) {
        const std::string name = entry.path().filename().string();
        if (!drive.sgName || name < *drive.sgName) {
            drive.sgName = name;
        }
    }
    drive.usbPath = usbDevice->filename().string();
    drive.vendorId = hexId(*usbDevice, "idVendor");
    drive.productId = hexId(*usbDevice, "idProduct");
    drive.bcdDevice = attribute(*usbDevice, "bcdDevice");
    drive.manufacturer = attribute(*usbDevice, "manufacturer");
    drive.product = attribute(*usbDevice, "product");
    drive.serial = attribute(*usbDevice, "serial");
    drive.usbVersion = attribute(*usbDevice, "version");
    drive.speed = attribute(*usbDevice, "speed");
    drive.maxPower = attribute(*usbDevice, "bMaxPower");
    drive.interfaceProtocol = attribute(*interface, "bInterfaceProtocol");
    drive.inquiryVendor = attribute(*device, "vendor");
    drive.inquiryProduct = attribute(*device, "model");
    drive.inquiryRevision = attribute(*device, "rev");
    if (const auto inquiry = readAttributeBytes(*device / "inquiry")) {
        drive.inquiry.assign(inquiry->begin(), inquiry->end());
    }
    if (const auto sectors = numberAttribute(*block, "size")) {
        // The size attribute counts 512-byte sectors whatever the drive's own block size.
        if (*sectors <= UINT64_MAX / 512) {
            drive.sizeBytes = *sectors * 512;
        }
    }
    if (const auto removable = numberAttribute(*block, "removable")) {
        drive.removable = *removable != 0;
    }
    return drive;
}

}  // namespace

std::vector<UsbDrive> listUsbDrives(const fs::path& root) {
    const auto realRoot = resolved(root);
    if (!realRoot || !fs::is_directory(*realRoot / "block")) {
        throw std::runtime_error(root.string() + " is not a sysfs tree: it has no block folder");
    }
    std::vector<UsbDrive> drives;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(*realRoot / "block", error)) {
        if (auto drive = readDrive(*realRoot, entry.path())) {
            drives.push_back(std::move(*drive));
        }
    }
    if (error) {
        throw std::runtime_error("cannot list " + (*realRoot / "block").string() + ": " +
                                 error.message());
    }
    std::sort(drives.begin(), drives.end(), [](const UsbDrive& a, const UsbDrive& b) {
        return a.blockName.size() != b.blockName.size() ? a.blockName.size() < b.blockName.size()
                                                        : a.blockName < b.blockName;
    });
    return drives;
}

std::optional<UsbDrive> findUsbDrive(const std::vector<UsbDrive>& drives, std::string_view device) {
    const std::string_view name = device.substr(device.find_last_of('/') + 1);
    for (const UsbDrive& drive : drives) {
        if (drive.blockName == name || drive.sgName == name) {
            return drive;
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
