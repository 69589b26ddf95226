#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Norvessa and runs every test: once in a normal build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzzing run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
passed=0
failed=0
for flavour in release sanitize; do
    echo "== $flavour build"
    "$root/scripts/build.sh" "$flavour"
    echo "== $flavour tests"
    log="$root/build/$flavour/ctest-summary.log"
    status=0
    ctest --test-dir "$root/build/$flavour" --output-on-failure --parallel "$(nproc)" | tee "$log" || status=$?
    summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    failures=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + ${total:-0} - ${failures:-0}))
    failed=$((failed + ${failures:-0}))
    if [ "$status" -ne 0 ]; then
        echo "tests: $passed passed, $failed failed"
        exit "$status"
    fi
done

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== short fuzzing run"
    "$root/scripts/fuzz.sh" 60
fi

echo "tests: $passed passed, $failed failed"
