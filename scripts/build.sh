#!/usr/bin/env bash
# Configures and builds one flavour of the project into build/<flavour>.
#   scripts/build.sh release | sanitize
#   scripts/build.sh windows [i686|x86_64 ...]
# "windows" cross-builds the Windows programs, their tests and the installer with MinGW-w64
# into build/windows-<architecture> (default i686, the shipped program's); the generators that
# run during that build come from a native build (build/release when there is one, else
# build/host-generators).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
flavour="${1:-release}"
options=(-G Ninja -DNORVESSA_WERROR=ON -DNORVESSA_BUILD_TESTS=ON)
jobs="$(nproc)"

# The native build whose generators a cross build runs; prints its export file.
host_generators() {
    local host="$root/build/release"
    if [ ! -f "$host/NorvessaGenerators.cmake" ]; then
        host="$root/build/host-generators"
        cmake -S "$root" -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNORVESSA_QT=OFF \
            -DNORVESSA_BUILD_TESTS=OFF >/dev/null
    fi
    cmake --build "$host" --parallel "$jobs" --target norvessa-build-database norvessa-nand-id-facts >&2
    echo "$host/NorvessaGenerators.cmake"
}

case "$flavour" in
    release) options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORVESSA_BUILD_BENCHMARKS=ON) ;;
    sanitize) options+=(-DCMAKE_BUILD_TYPE=Debug -DNORVESSA_SANITIZE=ON) ;;
    windows)
        shift
        generators="$(host_generators)"
        for architecture in "${@:-i686}"; do
            case "$architecture" in
                i686 | x86_64) ;;
                *) echo "unknown Windows architecture: $architecture (i686 or x86_64)" >&2; exit 2 ;;
            esac
            build="$root/build/windows-$architecture"
            # -O2 as the Linux build (GCC 12's -O3 warns falsely, -Wrestrict, in std::string
            # code); the shipped programs without symbols.
            cmake -S "$root" -B "$build" "${options[@]}" -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_EXE_LINKER_FLAGS_RELEASE="-s" \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$architecture-w64-mingw32.cmake" \
                -DNORVESSA_HOST_GENERATORS="$generators" >/dev/null
            cmake --build "$build" --parallel "$jobs"
        done
        exit 0
        ;;
    *) echo "unknown build flavour: $flavour (release, sanitize or windows; scripts/fuzz.sh fuzzes)" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$flavour" "${options[@]}" >/dev/null
cmake --build "$root/build/$flavour" --parallel "$jobs"
