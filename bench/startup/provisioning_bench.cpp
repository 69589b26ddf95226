// The database provisioning step of start-up alone, over the grown data set's image
// (norvessa_bench_grown's): replacing the database file with the image as start-up does, the
// system copying it from the program's own file, beside the way it went before, the image read
// into memory and written from there.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "platform/core/file_output.h"
#include "resources/database_image.h"

namespace {

std::filesystem::path benchFile() {
    const auto folder = std::filesystem::temp_directory_path() / "norvessa-provisioning-bench";
    std::filesystem::create_directories(folder);
    return folder / "zuzivive.ss";
}

void ProvisionFromTheProgramFile(benchmark::State& state) {
    const auto file = benchFile();
    const auto image = norvessa::resources::carriedDatabaseImage();
    for (auto _ : state) {
        norvessa::platform::replaceFileContent(file, image);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(image.size()));
    std::filesystem::remove_all(file.parent_path());
}
BENCHMARK(ProvisionFromTheProgramFile)->Unit(benchmark::kMicrosecond);

void ProvisionThroughMemory(benchmark::State& state) {
    const auto file = benchFile();
    for (auto _ : state) {
        const std::vector<std::uint8_t> image = norvessa::resources::loadDatabaseImage();
        norvessa::platform::replaceFileContent(file, image);
    }
    state.SetBytesProcessed(
        state.iterations() *
        static_cast<std::int64_t>(norvessa::resources::carriedDatabaseImage().size()));
    std::filesystem::remove_all(file.parent_path());
}
BENCHMARK(ProvisionThroughMemory)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
