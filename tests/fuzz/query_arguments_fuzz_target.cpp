// libFuzzer entry for the query tool's input parsing. The input, split at NUL bytes, is a
// command line: it must parse or be refused with a UsageError. Its first part is also typed ID
// bytes: refused with a UsageError, or parsed into bytes that a stored value written from them
// begins with. Its second part, as a stored ID value, is matched against them without throwing.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"

namespace {

std::vector<std::string> splitAtNul(std::string_view input) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = input.find('\0', start);
        parts.emplace_back(input.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string storedForm(const std::vector<std::uint8_t>& bytes) {
    std::string stored;
    for (const std::uint8_t byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        stored += (stored.empty() ? "" : " ") + std::string(pair);
    }
    return stored;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvessa::query;
    const std::vector<std::string> parts =
        splitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        parseCommandLine(parts);
    } catch (const UsageError&) {
        // A refused command line is a correct outcome.
    }
    try {
        const std::vector<std::uint8_t> wanted = parseTypedIdBytes(parts.front());
        if (!storedIdBeginsWith(storedForm(wanted), wanted)) {
            std::abort();
        }
        if (parts.size() > 1) {
            storedIdBeginsWith(parts[1], wanted);
        }
    } catch (const UsageError&) {
        // Not ID bytes.
    }
    return 0;
}
