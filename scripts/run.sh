#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Norvessa and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" release
program="$root/build/release/main_window/norvessa"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Norvessa under a virtual X server (xvfb-run)."
    exec xvfb-run -a "$program"
fi
exec "$program"
