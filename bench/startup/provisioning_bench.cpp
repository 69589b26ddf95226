// The database provisioning step of start-up alone: read the embedded image and replace the
// database file with it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>

#include "platform/core/file_output.h"
#include "resources/database_image.h"

namespace {

void ProvisionDatabaseFile(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "norvessa-provisioning-bench";
    std::filesystem::create_directories(folder);
    const auto file = folder / "zuzivive.ss";
    for (auto _ : state) {
        const auto image = norvessa::resources::loadDatabaseImage();
        norvessa::platform::replaceFileContent(file, image);
        state.SetBytesProcessed(state.bytes_processed() + static_cast<std::int64_t>(image.size()));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(ProvisionDatabaseFile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
