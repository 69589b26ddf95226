#include "platform/core/program_file.h"

#ifdef __linux__
#include <sys/sysmacros.h>

#include <charconv>
#include <fstream>
#include <string>
#include <string_view>
#endif

namespace norvessa::platform {

#ifdef __linux__
namespace {

// One line of /proc/self/maps: "start-end perms offset major:minor inode path".
struct Mapping {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    std::string_view perms;
    std::uint64_t offset = 0;
    unsigned major = 0;
    unsigned minor = 0;
    std::uint64_t inode = 0;
    std::string_view path;
};

// Reads a number in `base` up to `stop` and moves past the stop character.
template <typename Number>
bool field(std::string_view& line, char stop, int base, Number& value) {
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value, base);
    if (error != std::errc() || end == line.data() + line.size() || *end != stop) {
        return false;
    }
    line.remove_prefix(static_cast<std::size_t>(end - line.data()) + 1);
    return true;
}

std::optional<Mapping> parseMapping(std::string_view line) {
    Mapping mapping;
    if (!field(line, '-', 16, mapping.start) || !field(line, ' ', 16, mapping.end)) {
        return std::nullopt;
    }
    const std::size_t permsEnd = line.find(' ');
    if (permsEnd == std::string_view::npos) {
        return std::nullopt;
    }
    mapping.perms = line.substr(0, permsEnd);
    line.remove_prefix(permsEnd + 1);
    if (!field(line, ' ', 16, mapping.offset) || !field(line, ':', 16, mapping.major) ||
        !field(line, ' ', 16, mapping.minor) || !field(line, ' ', 10, mapping.inode)) {
        return std::nullopt;
    }
    const std::size_t pathStart = line.find_first_not_of(' ');
    mapping.path =
        pathStart == std::string_view::npos ? std::string_view() : line.substr(pathStart);
    return mapping;
}

}  // namespace

// The mapping that holds the bytes names the file and the place they were loaded from.
std::optional<ProgramFileRange> programFileRange(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t end = begin + bytes.size();
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const std::optional<Mapping> mapping = parseMapping(line);
        if (!mapping || begin < mapping->start || begin >= mapping->end) {
            continue;
        }
        // Read-only, private, from a file, and holding all the bytes.
        if (end > mapping->end || mapping->perms.size() < 4 || mapping->perms[1] != '-' ||
            mapping->inode == 0 || mapping->path.empty() || mapping->path.front() != '/') {
            return std::nullopt;
        }
        return ProgramFileRange{std::filesystem::path(mapping->path),
                                mapping->offset + (begin - mapping->start),
                                makedev(mapping->major, mapping->minor), mapping->inode};
    }
    return std::nullopt;
}
#else
std::optional<ProgramFileRange> programFileRange(std::span<const std::uint8_t>) {
    return std::nullopt;
}
#endif

}  // namespace norvessa::platform
