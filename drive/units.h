#pragma once

// How the drive reports write sizes, densities and ID bytes.

#include <cstdint>
#include <span>
#include <string>

namespace norvessa::drive {

// "2 MiB", "512 KiB", "7.5 GiB", "8192 bytes": the largest binary unit that keeps at most one
// decimal, the exact byte count for what no unit states well.
std::string sizeText(std::uint64_t bytes);

// "32 Gbit", "512 Mbit".
std::string densityText(std::uint64_t bits);

// "13FE", "0A": the value in upper-case hexadecimal, `digits` digits at least.
std::string hexText(std::uint64_t value, int digits);

// "EC D7 94 7A 54 43"
std::string idText(std::span<const std::uint8_t> bytes);

// "ECD7947A5443", the way technicians post an ID.
std::string idRun(std::span<const std::uint8_t> bytes);

}  // namespace norvessa::drive
