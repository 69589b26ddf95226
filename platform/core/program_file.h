#pragma once

// Where bytes of the running program lie in its own file. Bytes that the program carries in its
// read-only data are the same on disk as in memory (a running program's file cannot be written
// to), so the system can copy them from that file into another without the program reading them
// into memory at all.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace norvessa::platform {

struct ProgramFileRange {
    std::filesystem::path file;  // the file the bytes were loaded from
    std::uint64_t offset;        // where the bytes begin in it
    // The file that was loaded: whoever opens `file` checks that it opened this one, and not one
    // that has replaced it since.
    std::uint64_t device;
    std::uint64_t inode;
};

// The place of the bytes in the program's file, when they lie wholly in a read-only part of the
// program that is loaded from its file; nothing for any other bytes, or where the system cannot
// tell.
std::optional<ProgramFileRange> programFileRange(std::span<const std::uint8_t> bytes);

}  // namespace norvessa::platform
