// The lookup database image, compiled into norvessa-query as plain bytes between two symbols.
// The build writes the image from the data set and names its file in NORVESSA_LOOKUP_IMAGE.

#ifndef NORVESSA_LOOKUP_IMAGE
#error "NORVESSA_LOOKUP_IMAGE must name the lookup database image"
#endif

#ifdef _WIN32
#define NORVESSA_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define NORVESSA_READ_ONLY_SECTION ".section .rodata\n"
#endif

asm(NORVESSA_READ_ONLY_SECTION
    ".balign 16\n"
    ".globl norvessaLookupImage\n"
    "norvessaLookupImage:\n"
    ".incbin \"" NORVESSA_LOOKUP_IMAGE
    "\"\n"
    ".globl norvessaLookupImageEnd\n"
    "norvessaLookupImageEnd:\n"
    ".previous\n");
