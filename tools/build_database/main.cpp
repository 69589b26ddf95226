// norvessa-build-database: writes the lookup database image from the data set.

#include <iostream>
#include <string>
#include <vector>

#include "tools/build_database/build_database.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return norvessa::build_database::runBuildDatabase(arguments, std::cerr);
}
