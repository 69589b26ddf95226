#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Norvessa and runs every test: once in a normal build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzzing run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
for flavour in release sanitize; do
    echo "== $flavour build"
    "$root/scripts/build.sh" "$flavour"
    echo "== $flavour tests"
    ctest --test-dir "$root/build/$flavour" --output-on-failure --parallel "$(nproc)"
done

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== short fuzzing run"
    "$root/scripts/fuzz.sh" 60
fi
