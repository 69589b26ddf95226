#pragma once

// The USB mass-storage drives the kernel lists in sysfs: every block device whose device path
// runs through a USB interface of class 08 (mass storage), with what sysfs says of the USB
// device, the SCSI device (the INQUIRY data the kernel read) and the disk. Reading needs no
// privilege. The root is /sys, or a recorded tree of the same shape.
//
// A recorded tree may hold anything, so an attribute is read only when it is a regular file
// inside the tree (a link is followed only when it stays inside), of at most a page
// (kMaxAttributeBytes): a FIFO, a device node, a link that loops or leaves the tree, or a
// larger file leaves that one field empty, never the drive or the listing.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace norvessa::drive {

inline constexpr std::size_t kMaxAttributeBytes = 4096;

// A device's number, major:minor, as stat() and sysfs's dev attribute give it.
struct DeviceNumber {
    unsigned major = 0;
    unsigned minor = 0;
    friend bool operator==(const DeviceNumber&, const DeviceNumber&) = default;
};

struct UsbDrive {
    std::string blockName;                    // "sda"
    std::optional<std::string> sgName;        // "sg0": the node vendor commands go through
    std::optional<DeviceNumber> blockDevice;  // the disk's dev attribute
    std::optional<DeviceNumber> sgDevice;     // the SCSI generic node's dev attribute
    std::vector<std::pair<std::string, DeviceNumber>> partitions;  // "sda1", 8:1
    std::string usbPath;  // "1-1", the device's place on the bus
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    std::string bcdDevice;  // "0100"
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::string usbVersion;         // "2.00": the USB version the device declares
    std::string speed;              // "480": the link speed in Mbit/s
    std::string maxPower;           // "100mA"
    std::string interfaceProtocol;  // "50" bulk-only, "62" UAS
    int lunCount = 1;               // SCSI devices under the interface: more than one for readers
    // The INQUIRY data the kernel read when it attached the drive (36 bytes for usb-storage;
    // more where the kernel asked for more, and those bytes beyond 36 are vendor-specific).
    std::string inquiryVendor;
    std::string inquiryProduct;
    std::string inquiryRevision;
    std::vector<std::uint8_t> inquiry;
    std::optional<std::uint64_t> sizeBytes;  // the disk's size; 0 for a reader with no card
    std::optional<bool> removable;
};

// Throws std::runtime_error when `root` has no block folder (not a sysfs tree). A drive whose
// attributes cannot be read is listed with what could be read.
std::vector<UsbDrive> listUsbDrives(const std::filesystem::path& root);

// The number of the device node `path` names (links followed) and whether it is a block
// device; nothing for a path that is no block or character device.
struct DeviceNode {
    DeviceNumber number;
    bool block = false;
};
std::optional<DeviceNode> deviceNodeOf(const std::filesystem::path& path);

// The drive whose disk (a block node) or SCSI generic node (a character node) has that number.
std::optional<UsbDrive> findUsbDrive(const std::vector<UsbDrive>& drives, const DeviceNode& node);

// The drive a partition with that number belongs to, and the partition's name.
std::optional<std::pair<UsbDrive, std::string>> findPartition(const std::vector<UsbDrive>& drives,
                                                              const DeviceNode& node);

// "USB 3 device in a USB 2 port" and the like, when the declared version and the link speed
// tell one; empty otherwise.
std::string usbLinkRemark(const UsbDrive& drive);

// "high speed", "SuperSpeed", ...; empty for a speed sysfs does not write.
std::string speedName(std::string_view speed);

}  // namespace norvessa::drive
