#pragma once

// The replies of the commands in vendor_commands.h, read field by field with every offset
// checked against the bytes that came back. A reply that is short, lacks its marker, holds only
// FF (or only 00) bytes, or gives an absurd size throws ReplyError, whose message names the
// command and what is wrong with its reply.
//
// Layouts (sources in vendor_commands.h):
// Phison 06 05 info page (528 bytes)
//   0x94-0x96 firmware version (%d.%02X.%02X)   0x97-0x99 firmware date (three numbers)
//   0xA0 8 characters: run mode (" PRAM   " boot, " FW BURN" burner, " HV TEST" hardware
//   verify, anything else firmware)   0xF5 USB version   0x17A-0x17B "VR" marker
//   0x17E-0x17F chip type (PS2307 for 23 07)   0x1C6 chip byte   0x200-0x201 "IF" mark
// Phison 06 56: a slot of 16 bytes per chip enable, eight slots, the ID at the start of each
// Silicon Motion F0 2A: 0x190-0x1AD firmware version text, 0x1AE 8 characters model "SM..."
// Silicon Motion F0 06: eight slots of 16 bytes from 0x30, one per chip enable
// Alcor 9A: bytes 4-5 chip ID; 0x25 bad-block count (x4 when firmware is loaded); 0x2B 0xAA
//   when 0x2C (firmware loaded) and 0x2D-0x2E (old firmware version) are valid
// Alcor FA 0E: 0x0B chip revision, bytes 4-7 firmware version
// Alcor FA 00: eight slots of 16 bytes, 6 ID bytes used in each
// READ CAPACITY(10): last LBA (4 bytes), block length (4 bytes), big-endian
// READ CAPACITY(16): last LBA (8 bytes), block length (4 bytes), big-endian

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace norvessa::drive {

class ReplyError : public std::runtime_error {
  public:
    explicit ReplyError(const std::string& message) : std::runtime_error(message) {}
};

struct PhisonInfo {
    std::string chipType;  // "PS2307"
    std::uint8_t chipByte = 0;
    std::string firmwareVersion;  // "1.23.45"
    std::string firmwareDate;     // as the page gives it: "14/11/28"
    std::string runMode;          // "firmware", "boot mode (PRAM)", ...
    std::string usbVersion;       // "30"
    bool ifMarkPresent = false;
};
PhisonInfo parsePhisonInfo(std::span<const std::uint8_t> reply);

// The flash ID one chip enable answered with.
struct ChipEnableId {
    int chipEnable = 0;
    std::vector<std::uint8_t> id;
};

// Slots of `slotBytes` from `offset`, `idBytes` of each read; slots of only 00 or only FF are
// empty chip enables. Throws when the reply is too short or no slot holds an ID.
std::vector<ChipEnableId> parseIdSlots(std::span<const std::uint8_t> reply, std::size_t offset,
                                       std::size_t idBytes, std::string_view command);

std::vector<ChipEnableId> parsePhisonReadId(std::span<const std::uint8_t> reply);
std::vector<ChipEnableId> parseSmiFlashIds(std::span<const std::uint8_t> reply);
std::vector<ChipEnableId> parseAlcorFlashIds(std::span<const std::uint8_t> reply);

struct SmiInfo {
    std::string model;            // "SM3257ENBA"
    std::string firmwareVersion;  // as the page writes it
};
SmiInfo parseSmiInfo(std::span<const std::uint8_t> reply);

struct AlcorChip {
    std::uint16_t chipId = 0;
    std::optional<std::string> chipName;  // where the documented table names it
    unsigned badBlocks = 0;
    std::optional<bool> firmwareLoaded;
    std::optional<std::uint16_t> oldFirmwareVersion;
};
AlcorChip parseAlcorChipId(std::span<const std::uint8_t> reply);

struct AlcorFirmware {
    std::uint8_t chipRevision = 0;
    std::string firmwareVersion;  // bytes 4-7 in hexadecimal: the page has three encodings
};
AlcorFirmware parseAlcorFirmware(std::span<const std::uint8_t> reply);

struct Capacity {
    std::uint64_t lastLba = 0;
    std::uint32_t blockBytes = 0;
    std::uint64_t bytes() const { return (lastLba + 1) * blockBytes; }
};
// READ CAPACITY(10); a last LBA of FFFFFFFF means READ CAPACITY(16) is needed.
Capacity parseReadCapacity10(std::span<const std::uint8_t> reply);
Capacity parseReadCapacity16(std::span<const std::uint8_t> reply);

}  // namespace norvessa::drive
