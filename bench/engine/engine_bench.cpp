// One lookup as the program makes it, timed for four readers of the same table:
//   jet     our engine: open, verify the password, find the table, scan every row comparing
//           the model column, decode the matching rows, close;
//   sqlite  SQLite opening its own file with the same rows, running the same query without an
//           index (sqliteIndexed: with an index on the model), reading the matching rows, closing;
//   libmdb  mdbtools' library reading our file (it does not check passwords);
//   memchr  the floor: map the file and run memchr over all its bytes for its rarest byte.
// And the lookup by ID bytes through an index: norvessa-query's --id walking the index on ID号
// (jetId) against SQLite's range search on its index (sqliteId).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <mdbtools.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_files.h"
#include "norvessa_query/lookups.h"
#include "platform/jet/database.h"

namespace {

using namespace norvessa;
using Rows = std::vector<std::vector<std::string>>;
constexpr std::size_t kColumns = 23;
constexpr std::size_t kModelColumn = 1;

// The bench file for this run's row count, or nothing (the run skipped) when it cannot be made.
std::optional<std::filesystem::path> fileOrSkip(benchmark::State& state,
                                                std::filesystem::path (*make)(std::size_t)) {
    try {
        return make(static_cast<std::size_t>(state.range(0)));
    } catch (const std::exception& error) {
        static std::string message;
        message = error.what();
        state.SkipWithError(message.c_str());
        return std::nullopt;
    }
}

void finish(benchmark::State& state, const Rows& rows) {
    state.SetComplexityN(state.range(0));
    state.counters["matches"] = static_cast<double>(rows.size());
}

void jetLookup(benchmark::State& state) {
    const auto file = fileOrSkip(state, bench::jetFile);
    if (!file) {
        return;
    }
    Rows rows;
    for (auto _ : state) {
        rows.clear();
        const jet::Database database = jet::Database::open(*file, bench::kPassword);
        const jet::Table table = database.table(bench::kTable);
        const jet::TextKey key(std::string(bench::kModel) + " ");  // the statement's blank
        table.scan([&](const jet::RowView& row) {
            if (row.textEquals(kModelColumn, key)) {
                auto& fields = rows.emplace_back();
                for (std::size_t i = 0; i < kColumns; ++i) {
                    fields.push_back(jet::toText(row.value(i)));
                }
            }
            return jet::ScanControl::Continue;
        });
        benchmark::DoNotOptimize(rows.data());
    }
    finish(state, rows);
}

void sqliteQuery(benchmark::State& state, std::filesystem::path (*make)(std::size_t),
                 const char* query, std::initializer_list<const char*> values) {
    const auto file = fileOrSkip(state, make);
    if (!file) {
        return;
    }
    Rows rows;
    for (auto _ : state) {
        rows.clear();
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file->c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            state.SkipWithError("sqlite3_open_v2 failed");
            break;
        }
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, query, -1, &statement, nullptr);
        int parameter = 0;
        for (const char* value : values) {
            sqlite3_bind_text(statement, ++parameter, value, -1, SQLITE_STATIC);
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto& fields = rows.emplace_back();
            for (int i = 0; i < static_cast<int>(kColumns); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                fields.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
            }
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        benchmark::DoNotOptimize(rows.data());
    }
    finish(state, rows);
}

constexpr const char* kModelQuery = "select * from velthorn42 where \"FLASH型号\" = ?1";

void sqliteLookup(benchmark::State& state) {
    sqliteQuery(state, bench::sqliteFile, kModelQuery, {bench::kModel});
}

void sqliteIndexedLookup(benchmark::State& state) {
    sqliteQuery(state, bench::sqliteIndexedFile, kModelQuery, {bench::kModel});
}

void sqliteIdLookup(benchmark::State& state) {
    sqliteQuery(state, bench::sqliteIndexedFile,
                "select * from velthorn42 where \"ID号\" >= ?1 and \"ID号\" < ?2",
                {bench::kIdBytes, bench::kIdBytesEnd});
}

void jetIdLookup(benchmark::State& state) {
    const auto file = fileOrSkip(state, bench::jetFile);
    if (!file) {
        return;
    }
    const std::vector<std::uint8_t> wanted = query::parseTypedIdBytes(bench::kIdBytes);
    std::size_t found = 0;
    for (auto _ : state) {
        const jet::Database database = jet::Database::open(*file, bench::kPassword);
        const query::ResultTable result =
            query::lookUpByIdBytes(database.table(bench::kTable), wanted);
        found = result.rows.size();
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.SetComplexityN(state.range(0));
    state.counters["matches"] = static_cast<double>(found);
}

void libmdbLookup(benchmark::State& state) {
    const auto file = fileOrSkip(state, bench::jetFile);
    if (!file) {
        return;
    }
    std::vector<std::array<char, MDB_BIND_SIZE>> buffers(kColumns);
    std::array<int, kColumns> lengths{};
    const std::string model(bench::kModel);
    Rows rows;
    for (auto _ : state) {
        rows.clear();
        MdbHandle* mdb = mdb_open(file->c_str(), MDB_NOFLAGS);
        if (mdb == nullptr) {
            state.SkipWithError("mdb_open failed");
            break;
        }
        mdb_read_catalog(mdb, MDB_TABLE);
        std::string name(bench::kTable);
        MdbTableDef* table = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
        mdb_read_columns(table);
        mdb_rewind_table(table);
        for (std::size_t i = 0; i < kColumns; ++i) {
            mdb_bind_column(table, static_cast<int>(i + 1), buffers[i].data(), &lengths[i]);
        }
        while (mdb_fetch_row(table) != 0) {
            // Case-insensitive, trailing blanks ignored, as the other two compare.
            std::string_view value(buffers[kModelColumn].data(),
                                   static_cast<std::size_t>(lengths[kModelColumn]));
            while (!value.empty() && value.back() == ' ') {
                value.remove_suffix(1);
            }
            if (value.size() == model.size() &&
                strncasecmp(value.data(), model.data(), model.size()) == 0) {
                auto& fields = rows.emplace_back();
                for (std::size_t i = 0; i < kColumns; ++i) {
                    fields.emplace_back(buffers[i].data(), static_cast<std::size_t>(lengths[i]));
                }
            }
        }
        mdb_free_tabledef(table);
        mdb_close(mdb);
        benchmark::DoNotOptimize(rows.data());
    }
    finish(state, rows);
}

// The byte value that occurs least often in the file (a database file tends to hold all 256),
// so that the scan reads every byte and stops as rarely as possible.
int rarestByte(const std::filesystem::path& path) {
    std::vector<char> bytes(std::filesystem::file_size(path));
    std::ifstream(path, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::array<std::size_t, 256> counts{};
    for (char byte : bytes) {
        ++counts[static_cast<unsigned char>(byte)];
    }
    return static_cast<int>(std::min_element(counts.begin(), counts.end()) - counts.begin());
}

void memchrScan(benchmark::State& state) {
    const auto file = fileOrSkip(state, bench::jetFile);
    if (!file) {
        return;
    }
    const int byte = rarestByte(*file);
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        const int descriptor = ::open(file->c_str(), O_RDONLY);
        struct stat status {};
        ::fstat(descriptor, &status);
        const auto size = static_cast<std::size_t>(status.st_size);
        void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0);
        const char* at = static_cast<const char*>(mapping);
        const char* end = at + size;
        while (const void* found = std::memchr(at, byte, static_cast<std::size_t>(end - at))) {
            ++hits;
            at = static_cast<const char*>(found) + 1;
        }
        ::munmap(mapping, size);
        ::close(descriptor);
    }
    state.SetComplexityN(state.range(0));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(*file));
    state.counters["hits"] = static_cast<double>(hits);
}

constexpr std::int64_t kLarge = 1000000;

}  // namespace

// Sizes: the shipped data set as it is (its row count changes as it grows), sizes in between
// and a million rows.
int main(int argc, char** argv) {
    using Lookup = void (*)(benchmark::State&);
    const auto shipped = static_cast<std::int64_t>(bench::shippedRowCount());
    const auto add = [](const char* name, Lookup lookup, std::vector<std::int64_t> sizes) {
        return benchmark::RegisterBenchmark(name, lookup)
            ->ArgsProduct({std::move(sizes)})
            ->Unit(benchmark::kMicrosecond);
    };
    add("jetLookup", jetLookup, {shipped, 100000, 300000, kLarge})->Complexity(benchmark::oN);
    add("sqliteLookup", sqliteLookup, {shipped, 300000, kLarge});
    add("sqliteIndexedLookup", sqliteIndexedLookup, {shipped, kLarge});
    add("jetIdLookup", jetIdLookup, {shipped, kLarge});
    add("sqliteIdLookup", sqliteIdLookup, {shipped, kLarge});
    add("libmdbLookup", libmdbLookup, {shipped, kLarge});
    add("memchrScan", memchrScan, {shipped, 300000, kLarge});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
