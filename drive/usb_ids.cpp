#include "drive/usb_ids.h"

#include <fstream>
#include <string_view>

namespace norvessa::drive {

namespace {

std::optional<std::uint16_t> hexField(std::string_view text) {
    if (text.size() < 4) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        const char digit = text[index];
        int nibble = -1;
        if (digit >= '0' && digit <= '9') {
            nibble = digit - '0';
        } else if (digit >= 'a' && digit <= 'f') {
            nibble = digit - 'a' + 10;
        } else if (digit >= 'A' && digit <= 'F') {
            nibble = digit - 'A' + 10;
        }
        if (nibble < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(nibble);
    }
    return static_cast<std::uint16_t>(value);
}

// "VVVV  name": the four digits, then blanks, then the name.
std::optional<std::string> nameAfterId(std::string_view line) {
    if (line.size() < 6 || (line[4] != ' ' && line[4] != '\t')) {
        return std::nullopt;
    }
    const std::size_t start = line.find_first_not_of(" \t", 4);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view name = line.substr(start);
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
    return std::string(name);
}

}  // namespace

UsbNames lookUpUsbNames(const std::filesystem::path& usbIds, std::uint16_t vendorId,
                        std::uint16_t productId) {
    UsbNames names;
    std::error_code error;
    if (!std::filesystem::is_regular_file(usbIds, error)) {
        return names;  // a FIFO or a device would be read without end
    }
    std::ifstream in(usbIds, std::ios::binary);
    std::string line;
    bool inVendor = false;
    std::size_t read = 0;
    while (read < kMaxUsbIdsBytes && std::getline(in, line)) {
        read += line.size() + 1;
        if (line.size() > kMaxUsbIdsLine) {
            continue;  // no line of usb.ids is this long
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() != '\t') {
            if (inVendor) {
                break;  // the vendor's products have ended
            }
            if (hexField(line) == vendorId) {
                names.vendor = nameAfterId(line);
                inVendor = names.vendor.has_value();
            }
            continue;
        }
        if (inVendor && line.size() > 1 && line[1] != '\t') {
            const std::string_view product = std::string_view(line).substr(1);
            if (hexField(product) == productId) {
                names.product = nameAfterId(product);
                break;
            }
        }
    }
    return names;
}

std::optional<std::filesystem::path> systemUsbIds() {
    for (const char* candidate : {"/usr/share/misc/usb.ids", "/usr/share/hwdata/usb.ids"}) {
        std::error_code error;
        if (std::filesystem::exists(candidate, error)) {
            return std::filesystem::path(candidate);
        }
    }
    return std::nullopt;
}

}  // namespace norvessa::drive
