#!/usr/bin/env bash
# Fuzzes the database reader, the statement parser, the query tool's arguments and ID bytes, the
# data set's CSV reader, the flash decoders, the drive's reply parsers and its sysfs reader (recorded
# trees with links, FIFOs and device nodes) with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer, each for the given number of seconds (default
# 60). A crashing input is kept in
# tests/fuzz/regressions/<target>/, which CTest replays from then on; commit it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build/fuzz"
targets=(jet_reader sql query_arguments dataset_csv flash_decoders drive_replies drive_sysfs)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DNORVESSA_BUILD_TESTS=ON -DNORVESSA_BUILD_FUZZERS=ON -DNORVESSA_SANITIZE=ON \
    -DNORVESSA_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/%/_fuzzer}"
for target in "${targets[@]}"; do
    cmake --build "$build" --target "fuzz_$target"
done
