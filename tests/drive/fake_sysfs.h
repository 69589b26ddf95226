#pragma once

// A sysfs tree of USB drives written into a folder, the shape the kernel gives it: the USB
// device, its interface, the SCSI host, target and device with its INQUIRY attributes and its
// scsi_generic node, the disk below it, and /block/<name> linking to the disk. Drives are
// described by hand or read from an attribute dump recorded from a real kernel.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// A sysfs tree holds names with ':' (SCSI addresses such as 0:0:0:0), which Windows' file
// systems do not allow: tests that write one are Linux-only.
#ifdef _WIN32
#define NORVESSA_SKIP_WITHOUT_SYSFS_NAMES() \
    GTEST_SKIP() << "a sysfs tree's names (0:0:0:0) cannot be made on Windows"
#else
#define NORVESSA_SKIP_WITHOUT_SYSFS_NAMES() static_cast<void>(0)
#endif

namespace norvessa::drive::testing {

struct FakeDrive {
    std::string usbPath = "1-1";
    std::string block = "sda";
    std::string sg = "sg0";
    int host = 0;
    std::map<std::string, std::string> usb;        // idVendor=13fe, speed=480, ...
    std::map<std::string, std::string> interface;  // bInterfaceClass=08, ...
    std::map<std::string, std::string> scsi;       // vendor, model, rev
    std::map<std::string, std::string> disk;       // size, removable
    std::vector<std::uint8_t> inquiry;
};

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

inline void writeAttributes(const std::filesystem::path& folder,
                            const std::map<std::string, std::string>& attributes) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, value] : attributes) {
        writeText(folder / name, value + "\n");
    }
}

inline void addFakeDrive(const std::filesystem::path& root, const FakeDrive& drive) {
    namespace fs = std::filesystem;
    const std::string host = std::to_string(drive.host);
    const fs::path usbDevice = root / "devices/pci0000:00/0000:00:14.0/usb1" / drive.usbPath;
    const fs::path interface = usbDevice / (drive.usbPath + ":1.0");
    const fs::path scsi =
        interface / ("host" + host) / ("target" + host + ":0:0") / (host + ":0:0:0");
    const fs::path disk = scsi / "block" / drive.block;
    writeAttributes(usbDevice, drive.usb);
    writeAttributes(interface, drive.interface);
    writeAttributes(scsi, drive.scsi);
    writeText(scsi / "inquiry", std::string(drive.inquiry.begin(), drive.inquiry.end()));
    fs::create_directories(scsi / "scsi_generic" / drive.sg);
    writeAttributes(disk, drive.disk);
    fs::create_symlink("../..", disk / "device");
    fs::create_directories(root / "block");
    fs::create_symlink(fs::relative(disk, root / "block"), root / "block" / drive.block);
}

// A disk that is no USB drive, which the listing must pass over.
inline void addVirtualDisk(const std::filesystem::path& root, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path disk = root / "devices/virtual/block" / name;
    writeAttributes(disk, {{"size", "2048"}});
    fs::create_directories(root / "block");
    fs::create_symlink(fs::relative(disk, root / "block"), root / "block" / name);
}

// Reads an attribute dump ("usbdev idVendor=13fe", "scsidev inquiry(hex)= 00 80 ...",
// "block size=8192", "sg: sg0") as recorded from a real kernel.
inline std::optional<FakeDrive> fakeDriveFromDump(const std::filesystem::path& dump) {
    std::ifstream in(dump);
    if (!in) {
        return std::nullopt;
    }
    FakeDrive drive;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("sg: ")) {
            drive.sg = line.substr(4);
            continue;
        }
        const std::size_t space = line.find(' ');
        const std::size_t equals = line.find('=');
        if (space == std::string::npos || equals == std::string::npos || equals < space) {
            continue;
        }
        const std::string kind = line.substr(0, space);
        const std::string name = line.substr(space + 1, equals - space - 1);
        const std::string value = line.substr(equals + 1);
        if (name.find(' ') != std::string::npos) {
            continue;  // "usbdev uevent: ..." and the like
        }
        if (kind == "scsidev" && name == "inquiry(hex)") {
            std::istringstream bytes(value);
            unsigned byte = 0;
            while (bytes >> std::hex >> byte) {
                drive.inquiry.push_back(static_cast<std::uint8_t>(byte));
            }
        } else if (kind == "usbdev") {
            drive.usb[name] = value;
        } else if (kind == "usbif") {
            drive.interface[name] = value;
        } else if (kind == "scsidev") {
            drive.scsi[name] = value;
        } else if (kind == "block") {
            drive.disk[name] = value;
        }
    }
    return drive;
}

}  // namespace norvessa::drive::testing
