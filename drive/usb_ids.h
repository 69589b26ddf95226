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

// At most this much of a file is read: usb.ids is about 1.5 MB.
inline constexpr std::size_t kMaxUsbIdsBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxUsbIdsLine = 4096;

// Nothing is found in a file that cannot be read or is no regular file; lines that follow no
// known form are passed over, and reading stops after kMaxUsbIdsBytes.
UsbNames lookUpUsbNames(const std::filesystem::path& usbIds, std::uint16_t vendorId,
                        std::uint16_t productId);

// /usr/share/misc/usb.ids or /usr/share/hwdata/usb.ids, the first that exists.
std::optional<std::filesystem::path> systemUsbIds();

}  // namespace norvessa::drive
