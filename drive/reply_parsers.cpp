#include "drive/reply_parsers.h"

#include <algorithm>
#include <cstdio>

#include "drive/units.h"

namespace norvessa::drive {

namespace {

constexpr std::size_t kSlotBytes = 16;
constexpr std::size_t kSlots = 8;

void requireLength(std::span<const std::uint8_t> reply, std::size_t needed,
                   std::string_view command, std::string_view what) {
    if (reply.size() < needed) {
        throw ReplyError(std::string(command) + ": the reply has " + std::to_string(reply.size()) +
                         " bytes, too short for " + std::string(what) + " (needs " +
                         std::to_string(needed) + ")");
    }
}

bool allBytesAre(std::span<const std::uint8_t> bytes, std::uint8_t value) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [value](std::uint8_t byte) { return byte == value; });
}

void refuseBlank(std::span<const std::uint8_t> reply, std::string_view command) {
    if (!reply.empty() && allBytesAre(reply, 0xFF)) {
        throw ReplyError(std::string(command) + ": every byte of the reply is FF, no page");
    }
    if (!reply.empty() && allBytesAre(reply, 0x00)) {
        throw ReplyError(std::string(command) + ": every byte of the reply is 00, no page");
    }
}

bool textAt(std::span<const std::uint8_t> reply, std::size_t offset, std::string_view text) {
    return reply.size() >= offset + text.size() &&
           std::equal(text.begin(), text.end(), reply.begin() + static_cast<std::ptrdiff_t>(offset),
                      [](char expected, std::uint8_t byte) {
                          return static_cast<std::uint8_t>(expected) == byte;
                      });
}

// Printable ASCII up to the first NUL, blanks trimmed; other bytes become '?'.
std::string textField(std::span<const std::uint8_t> reply, std::size_t offset, std::size_t size) {
    std::string text;
    for (std::size_t index = offset; index < offset + size && index < reply.size(); ++index) {
        const std::uint8_t byte = reply[index];
        if (byte == 0) {
            break;
        }
        text += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::uint64_t bigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

Capacity checkedCapacity(std::uint64_t lastLba, std::uint64_t blockBytes,
                         std::string_view command) {
    // Flash drives use 512-byte blocks, a few 4096; a size outside 512..65536 or not a power of
    // two is no block size at all.
    if (blockBytes < 512 || blockBytes > 65536 || (blockBytes & (blockBytes - 1)) != 0) {
        throw ReplyError(std::string(command) + ": a block length of " +
                         std::to_string(blockBytes) + " bytes is no block size");
    }
    // More than 2^64 bytes cannot be counted, and more than an exbibyte is no USB drive.
    if (lastLba >= (std::uint64_t{1} << 60) / blockBytes) {
        throw ReplyError(std::string(command) + ": a last block of " + std::to_string(lastLba) +
                         " is absurd");
    }
    return {lastLba, static_cast<std::uint32_t>(blockBytes)};
}

}  // namespace

PhisonInfo parsePhisonInfo(std::span<const std::uint8_t> reply) {
    constexpr std::string_view kCommand = "Phison 06 05";
    requireLength(reply, 0x1C7, kCommand, "the chip type at 0x17E and the chip byte at 0x1C6");
    refuseBlank(reply, kCommand);
    if (!textAt(reply, 0x17A, "VR")) {
        throw ReplyError(std::string(kCommand) +
                         ": no \"VR\" marker at 0x17A; the reply is no Phison info page");
    }
    PhisonInfo info;
    info.chipType = "PS" + idRun(reply.subspan(0x17E, 2));
    info.chipByte = reply[0x1C6];
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02X.%02X", reply[0x94], reply[0x95], reply[0x96]);
    info.firmwareVersion = text;
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", reply[0x97], reply[0x98], reply[0x99]);
    info.firmwareDate = text;
    if (textAt(reply, 0xA0, " PRAM   ")) {
        info.runMode = "boot mode (PRAM)";
    } else if (textAt(reply, 0xA0, " FW BURN")) {
        info.runMode = "burner (FW BURN)";
    } else if (textAt(reply, 0xA0, " HV TEST")) {
        info.runMode = "hardware verify (HV TEST)";
    } else {
        info.runMode = "firmware";
    }
    std::snprintf(text, sizeof text, "%X", reply[0xF5]);
    info.usbVersion = text;
    info.ifMarkPresent = textAt(reply, 0x200, "IF");
    return info;
}

std::vector<ChipEnableId> parseIdSlots(std::span<const std::uint8_t> reply, std::size_t offset,
                                       std::size_t idBytes, std::string_view command) {
    requireLength(reply, offset + kSlots * kSlotBytes, command, "eight chip-enable slots");
    const auto slots = reply.subspan(offset, kSlots * kSlotBytes);
    if (allBytesAre(slots, 0xFF)) {
        throw ReplyError(std::string(command) + ": every ID slot is FF, no flash ID");
    }
    std::vector<ChipEnableId> ids;
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        std::span<const std::uint8_t> id = slots.subspan(slot * kSlotBytes, idBytes);
        if (allBytesAre(id, 0x00) || allBytesAre(id, 0xFF)) {
            continue;  // no chip on this chip enable
        }
        // Bytes after the ID proper read as 00 or FF.
        while (id.size() > 2 && (id.back() == 0x00 || id.back() == 0xFF)) {
            id = id.first(id.size() - 1);
        }
        ids.push_back({static_cast<int>(slot), std::vector<std::uint8_t>(id.begin(), id.end())});
    }
    if (ids.empty()) {
        throw ReplyError(std::string(command) + ": no chip enable holds a flash ID");
    }
    return ids;
}

std::vector<ChipEnableId> parsePhisonReadId(std::span<const std::uint8_t> reply) {
    return parseIdSlots(reply, 0, 8, "Phison 06 56");
}

std::vector<ChipEnableId> parseSmiFlashIds(std::span<const std::uint8_t> reply) {
    return parseIdSlots(reply, 0x30, 8, "Silicon Motion F0 06");
}

std::vector<ChipEnableId> parseAlcorFlashIds(std::span<const std::uint8_t> reply) {
    return parseIdSlots(reply, 0, 6, "Alcor FA 00");
}

SmiInfo parseSmiInfo(std::span<const std::uint8_t> reply) {
    constexpr std::string_view kCommand = "Silicon Motion F0 2A";
    requireLength(reply, 0x1B6, kCommand, "the model at 0x1AE");
    refuseBlank(reply, kCommand);
    if (!textAt(reply, 0x1AE, "SM")) {
        throw ReplyError(
            std::string(kCommand) +
            ": no model beginning \"SM\" at 0x1AE; the reply is no Silicon Motion page");
    }
    return {textField(reply, 0x1AE, 8), textField(reply, 0x190, 0x1AE - 0x190)};
}

AlcorChip parseAlcorChipId(std::span<const std::uint8_t> reply) {
    constexpr std::string_view kCommand = "Alcor 9A";
    requireLength(reply, 0x2F, kCommand, "the firmware fields at 0x2B-0x2E");
    refuseBlank(reply, kCommand);
    AlcorChip chip;
    chip.chipId = static_cast<std::uint16_t>(reply[4] << 8 | reply[5]);
    if (chip.chipId == 0xCD03) {
        chip.chipName = "AU6989/AU6998";
    }
    if (reply[0x2B] == 0xAA) {
        chip.firmwareLoaded = reply[0x2C] != 0;
        chip.oldFirmwareVersion = static_cast<std::uint16_t>(reply[0x2D] << 8 | reply[0x2E]);
    }
    chip.badBlocks = reply[0x25] * (chip.firmwareLoaded.value_or(false) ? 4u : 1u);
    return chip;
}

AlcorFirmware parseAlcorFirmware(std::span<const std::uint8_t> reply) {
    constexpr std::string_view kCommand = "Alcor FA 0E";
    requireLength(reply, 0x0C, kCommand, "the chip revision at 0x0B");
    refuseBlank(reply, kCommand);
    return {reply[0x0B], idRun(reply.subspan(4, 4))};
}

Capacity parseReadCapacity10(std::span<const std::uint8_t> reply) {
    requireLength(reply, 8, "READ CAPACITY(10)", "the last block and the block length");
    const std::uint64_t lastLba = bigEndian(reply.subspan(0, 4));
    if (lastLba == 0xFFFFFFFF) {
        return {lastLba, 0};  // larger than READ CAPACITY(10) can say
    }
    return checkedCapacity(lastLba, bigEndian(reply.subspan(4, 4)), "READ CAPACITY(10)");
}

Capacity parseReadCapacity16(std::span<const std::uint8_t> reply) {
    requireLength(reply, 12, "READ CAPACITY(16)", "the last block and the block length");
    return checkedCapacity(bigEndian(reply.subspan(0, 8)), bigEndian(reply.subspan(8, 4)),
                           "READ CAPACITY(16)");
}

}  // namespace norvessa::drive
