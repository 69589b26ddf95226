#pragma once

// Every command block this program can send to a drive, in one table: READ CAPACITY, and the
// read-only vendor commands public sources document for Phison, Silicon Motion and Alcor
// controllers. Each reads a page from the controller; none writes, erases, uploads or jumps.
// A transport (scsi_transport.h) takes a command id only, so nothing outside this table can
// reach a drive.
//
// Sources of the vendor commands and their reply layouts:
// - Phison 06 05 (info page, 528 bytes) and 06 56 (NAND READ ID, 512 bytes): brandonlw/Psychson
//   @ 4522989 DriveCom/PhisonDevice.cs and firmware/scsi.c; Retro-Junk/chipinfo @ 04b9a46
//   chipinfo/ctl_phison.py (12-byte blocks, bytes after the opcode pair zero: "06 05 52 41 ..."
//   would read controller memory instead).
// - Silicon Motion F0 2A (model and firmware) and F0 06 (flash IDs), byte 11 = 1 sector:
//   Retro-Junk/chipinfo @ 04b9a46 chipinfo/ctl_smi.py.
// - Alcor 9A (chip ID), FA 0E (firmware), FA 00 (flash IDs): Retro-Junk/chipinfo @ 04b9a46
//   chipinfo/ctl_alcor.py. 9A lies outside the vendor range (SBC names it WRITE STREAM(16)),
//   so it goes only to a drive whose INQUIRY data names Alcor.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "drive/controller_hint.h"

namespace norvessa::drive {

enum class CommandId {
    ReadCapacity10,
    ReadCapacity16,
    PhisonInfoPage,
    PhisonReadId,
    SmiInfo,
    SmiFlashIds,
    AlcorChipId,
    AlcorFirmware,
    AlcorFlashIds,
};

struct VendorCommand {
    CommandId id;
    std::string_view name;                 // "Phison 06 05 (info page)"
    std::optional<ControllerMaker> maker;  // none: a standard command any drive answers
    std::uint8_t length;                   // bytes of the command block
    std::array<std::uint8_t, 16> block;
    std::uint32_t replyLength;  // bytes read from the drive
};

inline constexpr std::array<VendorCommand, 9> kCommands = {{
    {CommandId::ReadCapacity10,
     "READ CAPACITY(10)",
     std::nullopt,
     10,
     {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     8},
    {CommandId::ReadCapacity16,
     "READ CAPACITY(16)",
     std::nullopt,
     16,
     {0x9E, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0},
     32},
    {CommandId::PhisonInfoPage,
     "Phison 06 05 (info page)",
     ControllerMaker::Phison,
     12,
     {0x06, 0x05},
     528},
    {CommandId::PhisonReadId,
     "Phison 06 56 (NAND READ ID)",
     ControllerMaker::Phison,
     12,
     {0x06, 0x56},
     512},
    {CommandId::SmiInfo,
     "Silicon Motion F0 2A (model and firmware)",
     ControllerMaker::SiliconMotion,
     16,
     {0xF0, 0x2A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
     512},
    {CommandId::SmiFlashIds,
     "Silicon Motion F0 06 (flash IDs)",
     ControllerMaker::SiliconMotion,
     16,
     {0xF0, 0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
     512},
    {CommandId::AlcorChipId, "Alcor 9A (chip ID)", ControllerMaker::Alcor, 16, {0x9A}, 512},
    {CommandId::AlcorFirmware,
     "Alcor FA 0E (firmware)",
     ControllerMaker::Alcor,
     16,
     {0xFA, 0x0E},
     512},
    {CommandId::AlcorFlashIds,
     "Alcor FA 00 (flash IDs)",
     ControllerMaker::Alcor,
     16,
     {0xFA, 0x00},
     512},
}};

const VendorCommand& commandFor(CommandId id);

// One command at a time, each with this limit: some firmwares hang on a command they do not
// know.
inline constexpr std::chrono::milliseconds kCommandTimeout{5000};

}  // namespace norvessa::drive
