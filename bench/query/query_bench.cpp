// Each lookup of norvessa-query over the shipped database and over a 1,000,000-row database,
// the whole program run once per lookup, and the three output formats.

#include <benchmark/benchmark.h>

#include <exception>
#include <functional>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "large_lookup_database.h"
#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"
#include "norvessa_query/result_formats.h"

namespace norvessa::query::bench {
namespace {

constexpr std::size_t kLargeRowCount = 1'000'000;

enum class Source { Shipped, Large };

// A database opened once and kept open across iterations, so that what is measured is the
// scan and the result; or why it cannot be opened.
struct OpenedDatabase {
    std::optional<jet::Database> database;
    std::string problem;
};

OpenedDatabase openOnce(const std::function<DatabaseChoice()>& choose) {
    try {
        return {openLookupDatabase(choose()), {}};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

const OpenedDatabase& openedDatabase(Source source) {
    if (source == Source::Shipped) {
        static const OpenedDatabase shipped = openOnce([] { return DatabaseChoice{}; });
        return shipped;
    }
    static const OpenedDatabase large = openOnce([] {
        return DatabaseChoice{largeLookupDatabase(kLargeRowCount), {}};
    });
    return large;
}

const jet::Database* database(Source source, benchmark::State& state) {
    const OpenedDatabase& opened = openedDatabase(source);
    if (!opened.database) {
        state.SkipWithError(opened.problem.c_str());
        return nullptr;
    }
    return &*opened.database;
}

std::size_t tableRows(const jet::Database& database) {
    return database.table("velthorn42").definition().rowCount;
}

void lookUp(benchmark::State& state, Source source, LookupMode mode, const char* typed) {
    const jet::Database* opened = database(source, state);
    if (opened == nullptr) {
        return;
    }
    const LookupInput input = prepareLookupInput(mode, typed);
    std::size_t found = 0;
    for (auto _ : state) {
        const ResultTable result = runLookup(*opened, input);
        found = result.rows.size();
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["rows_scanned/s"] = benchmark::Counter(
        static_cast<double>(tableRows(*opened)) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

class DiscardingBuffer : public std::streambuf {
  protected:
    int overflow(int character) override { return character; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// The program as a user runs it: the embedded image loaded and opened, the lookup, the table
// printed (to nowhere).
void wholeProgram(benchmark::State& state, std::vector<std::string> arguments) {
    DiscardingBuffer discard;
    std::ostream out(&discard);
    std::ostream errors(&discard);
    for (auto _ : state) {
        if (runQueryTool(arguments, out, errors) == kFailed) {
            state.SkipWithError(
                "norvessa-query failed; is the embedded database still the "
                "placeholder?");
            return;
        }
    }
}

void format(benchmark::State& state, OutputFormat format) {
    const jet::Database* opened = database(Source::Large, state);
    if (opened == nullptr) {
        return;
    }
    const ResultTable result =
        runLookup(*opened, prepareLookupInput(LookupMode::Controller, "CBM2093"));
    DiscardingBuffer discard;
    std::ostream out(&discard);
    for (auto _ : state) {
        writeResult(out, result, format);
    }
    state.counters["records/s"] = benchmark::Counter(
        static_cast<double>(result.rows.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(lookUp, shipped_exact, Source::Shipped, LookupMode::ExactModel, "MT29F64G08")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lookUp, shipped_prefix, Source::Shipped, LookupMode::ModelPrefix, "MT29F64G08")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lookUp, shipped_id, Source::Shipped, LookupMode::IdBytes, "EC D3 14 A5")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lookUp, shipped_controller, Source::Shipped, LookupMode::Controller, "CBM2093")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(lookUp, large_exact, Source::Large, LookupMode::ExactModel, "MT29F64G08")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lookUp, large_prefix, Source::Large, LookupMode::ModelPrefix, "MT29F64G08")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lookUp, large_id, Source::Large, LookupMode::IdBytes, "EC D3 14 A5")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lookUp, large_controller, Source::Large, LookupMode::Controller, "CBM2093")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(wholeProgram, exact, std::vector<std::string>{"MT29F64G08"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeProgram, prefix, std::vector<std::string>{"--prefix", "MT29F64G08"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeProgram, id, std::vector<std::string>{"--id", "EC D3 14 A5"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeProgram, controller, std::vector<std::string>{"--controller", "CBM2093"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(format, large_controller_table, OutputFormat::Table)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(format, large_controller_csv, OutputFormat::Csv)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(format, large_controller_json, OutputFormat::Json)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace norvessa::query::bench

BENCHMARK_MAIN();
