#include "drive/reply_parsers.h"

#include <algorithm>
#include <cstdio>

#include "drive/reply_cursor.h"
#include "drive/reply_layouts.h"
#include "drive/units.h"

namespace norvessa::drive {

namespace {

namespace slots = layout::id_slots;

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

// Printable ASCII up to the first NUL, blanks trimmed; other bytes become '?'.
std::string textField(std::span<const std::uint8_t> field) {
    std::string text;
    for (const std::uint8_t byte : field) {
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
    namespace at = layout::phison_info;
    constexpr std::string_view kCommand = "Phison 06 05";
    ReplyCursor cursor(reply, kCommand);
    cursor.bytes(at::kChipByte, 1, "the chip type at 0x17E and the chip byte at 0x1C6");
    cursor.check();
    refuseBlank(reply, kCommand);
    if (!cursor.textAt(at::kMarker, at::kMarkerText)) {
        throw ReplyError(std::string(kCommand) +
                         ": no \"VR\" marker at 0x17A; the reply is no Phison info page");
    }
    PhisonInfo info;
    info.chipType = "PS" + idRun(cursor.bytes(at::kChipType, 2, "the chip type"));
    info.chipByte = cursor.u8(at::kChipByte, "the chip byte");
    const auto version = cursor.bytes(at::kFirmwareVersion, 3, "the firmware version");
    const auto date = cursor.bytes(at::kFirmwareDate, at::kFirmwareDateSize, "the firmware date");
    cursor.check();
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02X.%02X", version[0], version[1], version[2]);
    info.firmwareVersion = text;
    info.firmwareDate.assign(date.begin(), date.end());
    if (cursor.textAt(at::kRunMode, " PRAM   ")) {
        info.runMode = "boot mode (PRAM)";
    } else if (cursor.textAt(at::kRunMode, " FW BURN")) {
        info.runMode = "burner (FW BURN)";
    } else if (cursor.textAt(at::kRunMode, " HV TEST")) {
        info.runMode = "hardware verify (HV TEST)";
    } else {
        info.runMode = "firmware";
    }
    std::snprintf(text, sizeof text, "%X", cursor.u8(at::kUsbVersion, "the USB version"));
    info.usbVersion = text;
    info.ifMarkPresent = cursor.textAt(at::kIfMark, at::kIfMarkText);
    cursor.check();
    return info;
}

std::vector<ChipEnableId> parseIdSlots(std::span<const std::uint8_t> reply, std::size_t offset,
                                       std::size_t idBytes, std::string_view command) {
    ReplyCursor cursor(reply, command);
    const auto all =
        cursor.bytes(offset, slots::kSlots * slots::kSlotBytes, "eight chip-enable slots");
    cursor.check();
    if (allBytesAre(all, 0xFF)) {
        throw ReplyError(std::string(command) + ": every ID slot is FF, no flash ID");
    }
    std::vector<ChipEnableId> ids;
    for (std::size_t slot = 0; slot < slots::kSlots; ++slot) {
        std::span<const std::uint8_t> id =
            cursor.bytes(offset + slot * slots::kSlotBytes, std::min(idBytes, slots::kSlotBytes),
                         "a chip-enable slot");
        if (allBytesAre(id, 0x00) || allBytesAre(id, 0xFF)) {
            continue;  // no chip on this chip enable
        }
        // Bytes after the ID proper read as 00 or FF.
        while (id.size() > 2 && (id.back() == 0x00 || id.back() == 0xFF)) {
            id = id.first(id.size() - 1);
        }
        ids.push_back({static_cast<int>(slot), std::vector<std::uint8_t>(id.begin(), id.end())});
    }
    cursor.check();
    if (ids.empty()) {
        throw ReplyError(std::string(command) + ": no chip enable holds a flash ID");
    }
    return ids;
}

std::vector<ChipEnableId> parsePhisonReadId(std::span<const std::uint8_t> reply) {
    return parseIdSlots(reply, slots::kPhisonFirst, slots::kPhisonIdBytes, "Phison 06 56");
}

std::vector<ChipEnableId> parseSmiFlashIds(std::span<const std::uint8_t> reply) {
    return parseIdSlots(reply, slots::kSmiFirst, slots::kSmiIdBytes, "Silicon Motion F0 06");
}

std::vector<ChipEnableId> parseAlcorFlashIds(std::span<const std::uint8_t> reply) {
    return parseIdSlots(reply, slots::kAlcorFirst, slots::kAlcorIdBytes, "Alcor FA 00");
}

SmiInfo parseSmiInfo(std::span<const std::uint8_t> reply) {
    namespace at = layout::smi_info;
    constexpr std::string_view kCommand = "Silicon Motion F0 2A";
    ReplyCursor cursor(reply, kCommand);
    const auto model = cursor.bytes(at::kModel, at::kModelSize, "the model at 0x1AE");
    cursor.check();
    refuseBlank(reply, kCommand);
    if (!cursor.textAt(at::kModel, at::kModelStart)) {
        throw ReplyError(
            std::string(kCommand) +
            ": no model beginning \"SM\" at 0x1AE; the reply is no Silicon Motion page");
    }
    const auto version =
        cursor.bytes(at::kFirmwareVersion, at::kFirmwareVersionSize, "the firmware version");
    cursor.check();
    return {textField(model), textField(version)};
}

AlcorChip parseAlcorChipId(std::span<const std::uint8_t> reply) {
    namespace at = layout::alcor_chip;
    constexpr std::string_view kCommand = "Alcor 9A";
    ReplyCursor cursor(reply, kCommand);
    cursor.bytes(at::kOldFirmwareVersion, 2, "the firmware fields at 0x2B-0x2E");
    cursor.check();
    refuseBlank(reply, kCommand);
    AlcorChip chip;
    chip.chipId = static_cast<std::uint16_t>(cursor.bigEndian(at::kChipId, 2, "the chip ID"));
    if (chip.chipId == 0xCD03) {
        chip.chipName = "AU6989/AU6998";
    }
    if (cursor.u8(at::kFirmwareValid, "the firmware mark") == at::kFirmwareValidMark) {
        chip.firmwareLoaded = cursor.u8(at::kFirmwareLoaded, "the firmware-loaded flag") != 0;
        chip.oldFirmwareVersion = static_cast<std::uint16_t>(
            cursor.bigEndian(at::kOldFirmwareVersion, 2, "the old firmware version"));
    }
    chip.badBlocks = cursor.u8(at::kBadBlocks, "the bad-block count") *
                     (chip.firmwareLoaded.value_or(false) ? 4u : 1u);
    cursor.check();
    return chip;
}

AlcorFirmware parseAlcorFirmware(std::span<const std::uint8_t> reply) {
    namespace at = layout::alcor_firmware;
    constexpr std::string_view kCommand = "Alcor FA 0E";
    ReplyCursor cursor(reply, kCommand);
    cursor.bytes(at::kChipRevision, 1, "the chip revision at 0x0B");
    cursor.check();
    refuseBlank(reply, kCommand);
    AlcorFirmware firmware{cursor.u8(at::kChipRevision, "the chip revision"),
                           idRun(cursor.bytes(at::kFirmwareVersion, at::kFirmwareVersionSize,
                                              "the firmware version"))};
    cursor.check();
    return firmware;
}

ReadCapacity10Reply parseReadCapacity10(std::span<const std::uint8_t> reply) {
    namespace at = layout::read_capacity10;
    constexpr std::string_view kCommand = "READ CAPACITY(10)";
    ReplyCursor cursor(reply, kCommand);
    const std::uint64_t lastLba =
        cursor.bigEndian(at::kLastLba, 4, "the last block and the block length");
    const std::uint64_t blockBytes =
        cursor.bigEndian(at::kBlockLength, 4, "the last block and the block length");
    cursor.check();
    if (lastLba == at::kAskSixteenByteForm) {
        return AskReadCapacity16{};
    }
    return checkedCapacity(lastLba, blockBytes, kCommand);
}

Capacity parseReadCapacity16(std::span<const std::uint8_t> reply) {
    namespace at = layout::read_capacity16;
    constexpr std::string_view kCommand = "READ CAPACITY(16)";
    ReplyCursor cursor(reply, kCommand);
    const std::uint64_t lastLba =
        cursor.bigEndian(at::kLastLba, 8, "the last block and the block length");
    const std::uint64_t blockBytes =
        cursor.bigEndian(at::kBlockLength, 4, "the last block and the block length");
    cursor.check();
    return checkedCapacity(lastLba, blockBytes, kCommand);
}

}  // namespace norvessa::drive
