#pragma once

// The replies of the commands in vendor_commands.h, read field by field with every offset
// checked against the bytes that came back. A reply that is short, lacks its marker, holds only
// FF (or only 00) bytes, or gives an absurd size throws ReplyError, whose message names the
// command and what is wrong with its reply.
//
// Layouts, as named offsets: reply_layouts.h (sources in vendor_commands.h).

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <variant>
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
    // The three date bytes at 0x97 as they are: the sources call them the firmware date but do
    // not say which byte is the year, so none is named.
    std::vector<std::uint8_t> firmwareDate;
    std::string runMode;     // "firmware", "boot mode (PRAM)", ...
    std::string usbVersion;  // "30"
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
// READ CAPACITY(10) for a drive larger than it can say (last LBA FFFFFFFF): ask the 16-byte form.
struct AskReadCapacity16 {};
using ReadCapacity10Reply = std::variant<Capacity, AskReadCapacity16>;
ReadCapacity10Reply parseReadCapacity10(std::span<const std::uint8_t> reply);
Capacity parseReadCapacity16(std::span<const std::uint8_t> reply);

}  // namespace norvessa::drive
