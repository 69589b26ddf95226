#include "platform/core/program_file.h"

#ifdef __linux__
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
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

// The whole text of /proc/self/maps, or nothing when it cannot be read. Read with the system's
// calls: a file stream would set up the C++ locale machinery, which nothing else at start-up
// needs, just for this.
std::optional<std::string> readOwnMappings() {
    const int descriptor = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::string text;
    std::array<char, 16384> chunk{};
    for (;;) {
        const ssize_t count = ::read(descriptor, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            ::close(descriptor);
            return count == 0 ? std::optional(std::move(text)) : std::nullopt;
        }
        text.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

}  // namespace

// The mapping that holds the bytes names the file and the place they were loaded from.
std::optional<ProgramFileRange> programFileRange(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t end = begin + bytes.size();
    const std::optional<std::string> maps = readOwnMappings();
    if (!maps) {
        return std::nullopt;
    }
    std::string_view rest = *maps;
    while (!rest.empty()) {
        const std::size_t lineEnd = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, lineEnd);
        rest.remove_prefix(std::min(lineEnd + 1, rest.size()));
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
