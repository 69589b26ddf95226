#!/usr/bin/env bash
# Builds the .deb from a built tree and checks it with lintian: the package must show no errors
# and no warnings. Exits 77 (a skip for CTest) where lintian or dpkg-deb is not installed.
#   tests/package/check_package.sh BUILD_DIR
set -euo pipefail
build="$1"
for tool in lintian dpkg-deb; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
package=("$work"/*.deb)
dpkg-deb --info "${package[0]}"
dpkg-deb --contents "${package[0]}"
lintian --fail-on error,warning --display-level ">=warning" "${package[0]}"
echo "lintian: no errors and no warnings"
