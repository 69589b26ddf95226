#pragma once

// The reply layouts of the commands in vendor_commands.h as named offsets, one namespace per
// reply: the parsers read them and the test fakes write them, so neither spells an offset.
// Sources are in vendor_commands.h; what a source does not say is not here.
//
// | reply                    | offset      | size | meaning                                       |
// |--------------------------|-------------|------|-----------------------------------------------|
// | Phison 06 05 (528 bytes) | 0x94        | 3    | firmware version, printed %d.%02X.%02X        |
// |                          | 0x97        | 3    | firmware date (CHIE); which byte is the year  |
// |                          |             |      | no source says                                |
// |                          | 0xA0        | 8    | run mode text (" PRAM   ", " FW BURN", ...)   |
// |                          | 0xF5        | 1    | USB version                                   |
// |                          | 0x17A       | 2    | "VR" marker                                   |
// |                          | 0x17E       | 2    | chip type, PS2307 for 23 07                   |
// |                          | 0x1C6       | 1    | chip byte                                     |
// |                          | 0x200       | 2    | "IF" mark                                     |
// | Phison 06 56             | 0 + 16 n    | 16   | the ID of chip enable n, eight slots          |
// | Silicon Motion F0 2A     | 0x190       | 30   | firmware version text                         |
// |                          | 0x1AE       | 8    | model text, "SM..."                           |
// | Silicon Motion F0 06     | 0x30 + 16 n | 16   | the ID of chip enable n, eight slots          |
// | Alcor 9A                 | 4           | 2    | chip ID, big-endian                           |
// |                          | 0x25        | 1    | bad-block count (x4 with firmware loaded)     |
// |                          | 0x2B        | 1    | 0xAA when 0x2C-0x2E are valid                 |
// |                          | 0x2C        | 1    | firmware loaded                               |
// |                          | 0x2D        | 2    | old firmware version                          |
// | Alcor FA 0E              | 4           | 4    | firmware version (three encodings)            |
// |                          | 0x0B        | 1    | chip revision                                 |
// | Alcor FA 00              | 0 + 16 n    | 16   | chip enable n, 6 ID bytes used                |
// | READ CAPACITY(10)        | 0, 4        | 4, 4 | last LBA, block length, big-endian            |
// | READ CAPACITY(16)        | 0, 8        | 8, 4 | last LBA, block length, big-endian            |

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norvessa::drive::layout {

namespace phison_info {
inline constexpr std::size_t kLength = 528;
inline constexpr std::size_t kFirmwareVersion = 0x94;
inline constexpr std::size_t kFirmwareDate = 0x97;
inline constexpr std::size_t kFirmwareDateSize = 3;
inline constexpr std::size_t kRunMode = 0xA0;
inline constexpr std::size_t kRunModeSize = 8;
inline constexpr std::size_t kUsbVersion = 0xF5;
inline constexpr std::size_t kMarker = 0x17A;
inline constexpr std::string_view kMarkerText = "VR";
inline constexpr std::size_t kChipType = 0x17E;
inline constexpr std::size_t kChipByte = 0x1C6;
inline constexpr std::size_t kIfMark = 0x200;
inline constexpr std::string_view kIfMarkText = "IF";
}  // namespace phison_info

// Replies that hold one flash ID per chip enable.
namespace id_slots {
inline constexpr std::size_t kSlotBytes = 16;
inline constexpr std::size_t kSlots = 8;
inline constexpr std::size_t kPhisonFirst = 0;
inline constexpr std::size_t kPhisonIdBytes = 8;
inline constexpr std::size_t kSmiFirst = 0x30;
inline constexpr std::size_t kSmiIdBytes = 8;
inline constexpr std::size_t kAlcorFirst = 0;
inline constexpr std::size_t kAlcorIdBytes = 6;
}  // namespace id_slots

namespace smi_info {
inline constexpr std::size_t kFirmwareVersion = 0x190;
inline constexpr std::size_t kFirmwareVersionSize = 0x1AE - 0x190;
inline constexpr std::size_t kModel = 0x1AE;
inline constexpr std::size_t kModelSize = 8;
inline constexpr std::string_view kModelStart = "SM";
}  // namespace smi_info

namespace alcor_chip {
inline constexpr std::size_t kChipId = 4;
inline constexpr std::size_t kBadBlocks = 0x25;
inline constexpr std::size_t kFirmwareValid = 0x2B;
inline constexpr std::uint8_t kFirmwareValidMark = 0xAA;
inline constexpr std::size_t kFirmwareLoaded = 0x2C;
inline constexpr std::size_t kOldFirmwareVersion = 0x2D;
}  // namespace alcor_chip

namespace alcor_firmware {
inline constexpr std::size_t kFirmwareVersion = 4;
inline constexpr std::size_t kFirmwareVersionSize = 4;
inline constexpr std::size_t kChipRevision = 0x0B;
}  // namespace alcor_firmware

namespace read_capacity10 {
inline constexpr std::size_t kLastLba = 0;
inline constexpr std::size_t kBlockLength = 4;
inline constexpr std::size_t kLength = 8;
// A last LBA of FFFFFFFF: the capacity does not fit; READ CAPACITY(16) says it.
inline constexpr std::uint32_t kAskSixteenByteForm = 0xFFFFFFFF;
}  // namespace read_capacity10

namespace read_capacity16 {
inline constexpr std::size_t kLastLba = 0;
inline constexpr std::size_t kBlockLength = 8;
inline constexpr std::size_t kLength = 12;
}  // namespace read_capacity16

}  // namespace norvessa::drive::layout
