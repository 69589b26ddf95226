// libFuzzer entry for the flash decoders. Any text must either be refused by the ID reader or
// give a pattern of 2 to 8 bytes whose decode holds together (a page size is a power of two, the
// dies of a chip enable add up to its density); the raw bytes, when 2 to 8, decode without
// throwing; and a part number decodes the same in either case.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "flash/id_decoder.h"
#include "flash/part_number.h"

namespace {

void checkConsistent(const norvessa::flash::IdDecode& id) {
    if (id.pageBytes && (*id.pageBytes < 512 || (*id.pageBytes & (*id.pageBytes - 1)) != 0)) {
        std::abort();
    }
    if (id.dieDensityBits && id.diesPerCe && id.ceDensityBits &&
        *id.dieDensityBits * static_cast<std::uint64_t>(*id.diesPerCe) != *id.ceDensityBits) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto pattern = norvessa::flash::parseIdText(text)) {
        const auto count = pattern->positions.size();
        if (count < norvessa::flash::kMinIdBytes || count > norvessa::flash::kMaxIdBytes ||
            norvessa::flash::expandIdPattern(*pattern).size() >
                norvessa::flash::kMaxIdAlternatives) {
            std::abort();
        }
        checkConsistent(norvessa::flash::decodeIdPattern(*pattern));
    }
    if (size >= norvessa::flash::kMinIdBytes && size <= norvessa::flash::kMaxIdBytes) {
        checkConsistent(norvessa::flash::decodeId(std::span(data, size)));
    }
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    if (norvessa::flash::decodePartNumber(text) != norvessa::flash::decodePartNumber(lower)) {
        std::abort();
    }
    return 0;
}
