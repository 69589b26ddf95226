#!/usr/bin/env bash
# Installs everything Norvessa needs to build, run and test on Debian 12. Both README commands
# and CI go through this one list.
set -euo pipefail

packages=(
    # toolchain and build
    g++ cmake ninja-build pkg-config clang-format python3
    # program
    qt6-base-dev fonts-noto-cjk fonts-arphic-uming qt6-translations-l10n
    # tests, benchmarks and fuzzing
    libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev clang-14 clang libclang-rt-14-dev
    # independent readers of the database format, used as test oracles
    mdbtools mdbtools-dev
    # validators of the desktop entry and the AppStream metadata
    desktop-file-utils appstream
    # the Debian package: manual pages from --help, the package builder and its checker
    help2man dpkg-dev lintian
    # a display server for running the program on a machine without one
    xvfb xauth
    # the Windows build: MinGW-w64 cross compilers (the -posix ones carry std::thread and
    # std::mutex), windres and objdump, Wine to run the Windows tests, NSIS for the
    # installer and the portable archive
    g++-mingw-w64 mingw-w64-tools binutils-mingw-w64 wine wine64 wine32:i386 nsis
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Wine runs the 32-bit Windows programs through its i386 half.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
# Node.js may come from a package that carries npm itself; install Debian's only when both are absent.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    missing+=(nodejs npm)
fi
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The npm readers used by the interoperability tests, installed beside their scripts.
root="$(cd "$(dirname "$0")/.." && pwd)"
node_tests="$root/tests/interop/node"
if [ -f "$node_tests/package.json" ] && [ ! -d "$node_tests/node_modules" ]; then
    (cd "$node_tests" && npm install --no-package-lock --no-audit --no-fund --loglevel=error)
fi
