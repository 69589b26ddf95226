// norvessa-query: lookups over the lookup database from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "norvessa_query/command_line.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // CSV ends its records with CR LF itself; text mode would turn that into CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return norvessa::query::runQueryTool(arguments, std::cout, std::cerr);
}
