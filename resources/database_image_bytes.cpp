// The lookup database image, compiled into the program as plain bytes between two symbols, in
// read-only data: start-up copies it to the database file straight from the program's own file
// (platform/core/file_output.h), so the image is never read into memory. The build writes the
// image from the data set and names its file in NORVESSA_DATABASE_IMAGE_FILE. Kept apart from
// database_image.cpp so that a program may link another image under the same symbols (the
// start-up bench does, to measure a larger data set).

#ifndef NORVESSA_DATABASE_IMAGE_FILE
#error "NORVESSA_DATABASE_IMAGE_FILE must name the lookup database image"
#endif

// The read-only data section, and the directive that returns to the code section after it:
// ELF's ".previous" has no COFF counterpart, and nothing follows in this file but code.
#ifdef _WIN32
#define NORVESSA_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#define NORVESSA_SECTION_BEFORE ".text\n"
#else
#define NORVESSA_READ_ONLY_SECTION ".section .rodata\n"
#define NORVESSA_SECTION_BEFORE ".previous\n"
#endif

// The assembler sees symbols as the linker names them: C names carry a leading underscore on
// 32-bit Windows, which the compiler's __USER_LABEL_PREFIX__ says.
#define NORVESSA_TEXT(x) #x
#define NORVESSA_EXPANDED_TEXT(x) NORVESSA_TEXT(x)
#define NORVESSA_C_SYMBOL(name) NORVESSA_EXPANDED_TEXT(__USER_LABEL_PREFIX__) name

asm(NORVESSA_READ_ONLY_SECTION
    ".balign 16\n"
    ".globl " NORVESSA_C_SYMBOL("norvessaDatabaseImage") "\n"
    NORVESSA_C_SYMBOL("norvessaDatabaseImage") ":\n"
    ".incbin \"" NORVESSA_DATABASE_IMAGE_FILE "\"\n"
    ".globl " NORVESSA_C_SYMBOL("norvessaDatabaseImageEnd") "\n"
    NORVESSA_C_SYMBOL("norvessaDatabaseImageEnd") ":\n"
    NORVESSA_SECTION_BEFORE);
