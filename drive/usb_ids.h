#pragma once

// Vendor and product names from a usb.ids file (the linux-usb.org list Debian ships in its
// usb.ids package): "VVVV  vendor" lines, each followed by "\tPPPP  product" lines.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace norvessa::drive {

struct UsbNames {
    std::optional<std::string> vendor;
    std::optional<std::string> product;
};

// Nothing is found in a file that cannot be read; lines that follow no known form are passed
// over.
UsbNames lookUpUsbNames(const std::filesystem::path& usbIds, std::uint16_t vendorId,
                        std::uint16_t productId);

// /usr/share/misc/usb.ids or /usr/share/hwdata/usb.ids, the first that exists.
std::optional<std::filesystem::path> systemUsbIds();

}  // namespace norvessa::drive
