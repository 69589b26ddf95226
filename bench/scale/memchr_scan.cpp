// Maps FILE and counts the bytes equal to BYTE with memchr: the least work a program that
// looks at every byte of a database file can do.
//   memchr_scan FILE BYTE

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: memchr_scan FILE BYTE\n");
        return 2;
    }
    const int descriptor = ::open(argv[1], O_RDONLY);
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
        std::perror(argv[1]);
        return 2;
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0);
    if (mapping == MAP_FAILED) {
        std::perror("mmap");
        return 2;
    }
    const int byte = std::atoi(argv[2]);
    const char* at = static_cast<const char*>(mapping);
    const char* const end = at + size;
    unsigned long hits = 0;
    while (const void* found = std::memchr(at, byte, static_cast<std::size_t>(end - at))) {
        ++hits;
        at = static_cast<const char*>(found) + 1;
    }
    std::printf("%lu\n", hits);
    ::munmap(mapping, size);
    ::close(descriptor);
    return 0;
}
