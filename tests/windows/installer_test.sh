#!/usr/bin/env bash
# The installer as a user runs it: installed silently under Wine, the installed norvessa-query
# looks a model up (Chinese output and all), then the uninstaller removes the files, the
# shortcut and the uninstall entry.
#   installer_test.sh WINE_PREFIX INSTALLER GUI_PACKAGED(0|1)
set -euo pipefail
prefix="$1"
installer="$2"
gui_packaged="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
wine_run() { "$root/scripts/wine.sh" "$prefix" "$@"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Norvessa'
# A 32-bit installer writes the 32-bit view of the registry, a 64-bit one the 64-bit view.
uninstall_entry() {
    wine_run reg query "$uninstall_key" /reg:32 2>/dev/null || wine_run reg query "$uninstall_key" /reg:64 2>/dev/null
}
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Norvessa.lnk"

wine_run "$installer" /S
folder=""
for candidate in "$prefix/drive_c/Program Files (x86)/Norvessa" "$prefix/drive_c/Program Files/Norvessa"; do
    if [ -f "$candidate/norvessa-query.exe" ]; then
        folder="$candidate"
    fi
done
[ -n "$folder" ] || fail "norvessa-query.exe is in neither Program Files folder"
for file in LICENSE.txt uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$file was not installed"
done
if [ "$gui_packaged" = 1 ]; then
    [ -f "$folder/Norvessa.exe" ] || fail "Norvessa.exe was not installed"
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
fi
uninstall_entry | grep -q 'DisplayName.*Norvessa' || fail "no uninstall entry under $uninstall_key"

output="$(wine_run "$(wine_run winepath -w "$folder/norvessa-query.exe" | tr -d '\r')" k9hcg08u5m)" ||
    fail "the installed norvessa-query found nothing"
for expected in K9HCG08U5M "Samsung 三星" 芯邦 CBM2093; do
    grep -qF "$expected" <<<"$output" || fail "the installed norvessa-query did not print $expected: $output"
done
echo "installed in ${folder#"$prefix/"}; the installed norvessa-query found K9HCG08U5M"

# The uninstaller copies itself away and runs from there, so the call returns at once.
wine_run "$folder/uninstall.exe" /S
for _ in $(seq 1 60); do
    [ -e "$folder" ] || break
    sleep 1
done
[ ! -e "$folder" ] || fail "left behind: $(ls -A "$folder")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut was left behind"
if uninstall_entry >/dev/null; then
    fail "the uninstall entry was left behind"
fi
echo "uninstalled: no file, shortcut or uninstall entry left"
