#!/usr/bin/env bash
# Configures and builds one flavour of the project into build/<flavour>.
#   scripts/build.sh release | sanitize
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
flavour="${1:-release}"
options=(-G Ninja -DNORVESSA_WERROR=ON -DNORVESSA_BUILD_TESTS=ON)
case "$flavour" in
    release) options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORVESSA_BUILD_BENCHMARKS=ON) ;;
    sanitize) options+=(-DCMAKE_BUILD_TYPE=Debug -DNORVESSA_SANITIZE=ON) ;;
    *) echo "unknown build flavour: $flavour (release or sanitize; scripts/fuzz.sh fuzzes)" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$flavour" "${options[@]}" >/dev/null
cmake --build "$root/build/$flavour" --parallel "$(nproc)"
