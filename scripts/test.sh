#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Norvessa and runs every test: once in a normal build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzzing run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
passed=0
failed=0
skipped=0
summary() {
    echo "tests: $passed passed, $failed failed, $skipped skipped"
}
for flavour in release sanitize; do
    echo "== $flavour build"
    "$root/scripts/build.sh" "$flavour"
    echo "== $flavour tests"
    log="$root/build/$flavour/ctest-summary.log"
    status=0
    ctest --test-dir "$root/build/$flavour" --output-on-failure --parallel "$(nproc)" | tee "$log" || status=$?
    # CTest counts a skipped test (GTEST_SKIP, or a test's skip return code) in its total and
    # in its "tests passed", and lists it under "did not run" as (Skipped): it is neither.
    counts=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$counts")
    failures=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$counts")
    skips=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" || true)
    passed=$((passed + ${total:-0} - ${failures:-0} - skips))
    failed=$((failed + ${failures:-0}))
    skipped=$((skipped + skips))
    if [ "$status" -ne 0 ]; then
        summary
        exit "$status"
    fi
done

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== short fuzzing run"
    "$root/scripts/fuzz.sh" 30
fi

summary
