#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Norvessa and runs every test: once in a normal build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer, once cross-built for 32-bit
# Windows and run under Wine, and a short fuzzing run.
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

# Runs one build's tests, through the command given after the build folder if any, and adds
# them to the counts; ends the run when one failed.
run_tests() {
    local build="$1"
    shift
    local log="$build/ctest-summary.log"
    local status=0
    "$@" ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" | tee "$log" || status=$?
    # CTest counts a skipped test (GTEST_SKIP, or a test's skip return code) in its total and
    # in its "tests passed", and lists it under "did not run" as (Skipped): it is neither.
    local counts total failures skips
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
}

for flavour in release sanitize; do
    echo "== $flavour build"
    "$root/scripts/build.sh" "$flavour"
    echo "== $flavour tests"
    run_tests "$root/build/$flavour"
done

# The shipped Windows program is 32-bit: that build is the one tested here
# (scripts/build.sh windows x86_64 makes the 64-bit one).
echo "== windows build (i686)"
"$root/scripts/build.sh" windows i686
echo "== windows tests (under Wine)"
windows="$root/build/windows-i686"
# One wineserver for the whole run, Wine's services up before the first test discovery: each
# test program then starts in a fraction of a second. Windows programs draw their windows on an
# X display: a virtual one for the run.
run_tests "$windows" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/scripts/wine.sh" "$windows/wine-prefix" --serving

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== short fuzzing run"
    "$root/scripts/fuzz.sh" 30
fi

summary
