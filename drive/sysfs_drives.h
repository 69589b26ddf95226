#pragma once

// The USB mass-storage drives the kernel lists in sysfs: every block device whose device path
// runs through a USB interface of class 08 (mass storage), with what sysfs says of the USB
// device, the SCSI device (the INQUIRY data the kernel read) and the disk. Reading needs no
// privilege. The root is /sys, or a recorded tree of the same shape.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace norvessa::drive {

struct UsbDrive {
    std::string blockName;              // "sda"
    std::optional<std::string> sgName;  // "sg0": the node vendor commands go through
    std::string usbPath;                // "1-1", the device's place on the bus
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
    // The INQUIRY data the kernel read when it attached the drive (36 bytes for usb-storage).
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

// The drive whose block node or SCSI generic node `device` names ("/dev/sg1", "sdb").
// Nothing when no listed drive has that node.
std::optional<UsbDrive> findUsbDrive(const std::vector<UsbDrive>& drives, std::string_view device);

// "USB 3 device in a USB 2 port" and the like, when the declared version and the link speed
// tell one; empty otherwise.
std::string usbLinkRemark(const UsbDrive& drive);

// "high speed", "SuperSpeed", ...; empty for a speed sysfs does not write.
std::string speedName(std::string_view speed);

}  // namespace norvessa::drive
