#!/usr/bin/env bash
# Screenshots of the Windows program's five windows under Wine on a virtual X display, as PNG
# files: the main window after looking up MODEL (default MT29F64G08, a model with many rows) and
# Form2 to Form5.
#   tools/screenshots/windows_screenshots.sh BUILD_DIR [OUTPUT_DIR] [MODEL]
# BUILD_DIR is a Windows cross build that holds norvessa_win32_screenshots.exe; OUTPUT_DIR
# defaults to docs/windows. Runs in the build's own Wine prefix (scripts/wine.sh), on a screen of
# 1280x1024 at 96 DPI with no window manager.
set -euo pipefail
if [ "$#" -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [OUTPUT_DIR] [MODEL]" >&2
    exit 2
fi
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$1" && pwd)"
output="${2:-$source_dir/docs/windows}"
model="${3:-MT29F64G08}"
tool="$(find "$build" -name norvessa_win32_screenshots.exe -print -quit)"
if [ -z "$tool" ]; then
    echo "norvessa_win32_screenshots.exe is not in $build: build it first" >&2
    exit 1
fi
mkdir -p "$output"
pictures="$(mktemp -d)"
trap 'rm -rf "$pictures"' EXIT

# A display of our own: Xvfb picks a free number and writes it once it is ready.
Xvfb -displayfd 9 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 9>"$pictures/display" 2>/dev/null &
xvfb=$!
# Wine's processes go before the display they draw on.
prefix="$build/wine-prefix"
trap '"$source_dir/scripts/wine.sh" "$prefix" --stop; kill "$xvfb" 2>/dev/null || true; rm -rf "$pictures"' EXIT
for _ in $(seq 100); do
    [ -s "$pictures/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$pictures/display")"

# Wine sees the Linux file system as drive Z.
"$source_dir/scripts/wine.sh" "$prefix" "$tool" "Z:$pictures" "$model"
for picture in main_window form2 form3 form4 form5; do
    convert "$pictures/$picture.bmp" -strip "$output/$picture.png"
    echo "$output/$picture.png"
done
