// The lookup database image, compiled into the program as plain bytes between two symbols, in
// read-only data: start-up copies it to the database file straight from the program's own file
// (platform/core/file_output.h), so the image is never read into memory. The build writes the
// image from the data set and names its file in NORVESSA_DATABASE_IMAGE_FILE. Kept apart from
// database_image.cpp so that a program may link another image under the same symbols (the
// start-up bench does, to measure a larger data set).

#ifndef NORVESSA_DATABASE_IMAGE_FILE
#error "NORVESSA_DATABASE_IMAGE_FILE must name the lookup database image"
#endif

#ifdef _WIN32
#define NORVESSA_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define NORVESSA_READ_ONLY_SECTION ".section .rodata\n"
#endif

asm(NORVESSA_READ_ONLY_SECTION
    ".balign 16\n"
    ".globl norvessaDatabaseImage\n"
    "norvessaDatabaseImage:\n"
    ".incbin \"" NORVESSA_DATABASE_IMAGE_FILE
    "\"\n"
    ".globl norvessaDatabaseImageEnd\n"
    "norvessaDatabaseImageEnd:\n"
    ".previous\n");
