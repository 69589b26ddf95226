// Writes the lookup database image of a grown data set, for measuring start-up at that size:
// the rows of the data set repeated with fresh ids up to the row count given, under the
// program's password. usage: norvessa_bench_grown_image ROWS
#include <cstdio>
#include <exception>
#include <string>

#include "bench/query/large_lookup_database.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: norvessa_bench_grown_image ROWS\n");
        return 2;
    }
    try {
        const auto file = norvessa::query::bench::largeLookupDatabase(std::stoul(argv[1]));
        std::printf("%s\n", file.string().c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "norvessa_bench_grown_image: %s\n", error.what());
        return 1;
    }
}
