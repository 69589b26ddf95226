#include "platform/core/program_file.h"

#ifdef __linux__
#include <elf.h>
#include <link.h>
#endif

namespace norvessa::platform {

#ifdef __linux__
namespace {

struct Search {
    std::uintptr_t begin;
    std::uintptr_t end;
    std::optional<std::uint64_t> offset;
};

// Called for each loaded object; the program itself comes first, and only it is looked at: a
// shared library's file may have been replaced on disk since it was loaded.
int searchProgram(dl_phdr_info* info, std::size_t, void* data) {
    auto& search = *static_cast<Search*>(data);
    for (ElfW(Half) index = 0; index < info->dlpi_phnum; ++index) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[index];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) != 0) {
            continue;
        }
        // Only the part of the segment that comes from the file; the rest is zero-filled memory.
        const std::uintptr_t loaded = info->dlpi_addr + segment.p_vaddr;
        if (search.begin >= loaded && search.end <= loaded + segment.p_filesz) {
            search.offset = segment.p_offset + (search.begin - loaded);
            break;
        }
    }
    return 1;
}

}  // namespace

std::optional<ProgramFileRange> programFileRange(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    Search search{reinterpret_cast<std::uintptr_t>(bytes.data()),
                  reinterpret_cast<std::uintptr_t>(bytes.data()) + bytes.size(), std::nullopt};
    dl_iterate_phdr(searchProgram, &search);
    if (!search.offset) {
        return std::nullopt;
    }
    // The running program's file, even when it has been replaced or removed since it started.
    return ProgramFileRange{"/proc/self/exe", *search.offset};
}
#else
std::optional<ProgramFileRange> programFileRange(std::span<const std::uint8_t>) {
    return std::nullopt;
}
#endif

}  // namespace norvessa::platform
