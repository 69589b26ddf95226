#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the build's own, so that nothing of the
# user's own Wine setup takes part and nothing outside the build folder is written.
#   scripts/wine.sh PREFIX PROGRAM [ARGUMENTS...]   runs the program (CTest's emulator)
#   scripts/wine.sh PREFIX --start                  makes the prefix if needed and starts a
#                                                   wineserver that stays until --stop, so that
#                                                   each program starts in a fraction of a second
#   scripts/wine.sh PREFIX --stop                   ends that wineserver
#   scripts/wine.sh PREFIX --serving COMMAND...     runs COMMAND (CTest, say) between --start
#                                                   and --stop, Wine's own processes already up
# A new prefix gets the font replacement that draws 宋体 and SimSun with AR PL UMing CN, the
# Song face the windows are laid out for, and falls back to Wine's display-less graphics driver
# when there is no X display, so that window tests run without one. Its windows are not handed to
# a window manager: a virtual display has none, and Wine would wait two seconds for one at every
# hidden window.
set -euo pipefail
if [ "$#" -lt 2 ]; then
    echo "usage: $0 PREFIX PROGRAM [ARGUMENTS...] | PREFIX --start | PREFIX --stop |" \
        "PREFIX --serving COMMAND..." >&2
    exit 2
fi
# Wine wants an absolute path.
export WINEPREFIX="$(realpath -m "$1")"
shift
export WINEDEBUG=-all
# No menu entries or file associations on the Linux desktop for what an installer creates.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"

prepare_prefix() {
    mkdir -p "$WINEPREFIX"
    # Runs in parallel tests may all find a new prefix: one of them makes it.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/norvessa-ready" ]; then
        wineboot -i >/dev/null 2>&1
        local fonts="$WINEPREFIX/font-replacements.reg"
        # regedit reads UTF-16 with a byte order mark.
        printf '\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n\r\n%s\r\n%s\r\n%s\r\n\r\n%s\r\n%s\r\n\r\n%s\r\n%s\r\n' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"宋体"="AR PL UMing CN"' '"SimSun"="AR PL UMing CN"' \
            '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Graphics"="x11,null"' \
            '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' |
            iconv -f UTF-8 -t UTF-16LE >"$fonts"
        wine regedit /S "$(winepath -w "$fonts")" >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/norvessa-ready"
    fi
    flock -u 9
}

case "$1" in
    --start)
        prepare_prefix
        wineserver -p </dev/null >/dev/null 2>&1 9>&-
        ;;
    --stop)
        wineserver -k 2>/dev/null || true
        ;;
    --serving)
        shift
        prepare_prefix
        wineserver -p </dev/null >/dev/null 2>&1 9>&-
        # The first program of a session starts Wine's services and desktop, which takes
        # seconds: longer than a test discovery may wait.
        wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
        status=0
        "$@" 9>&- || status=$?
        wineserver -k 2>/dev/null || true
        exit "$status"
        ;;
    *)
        prepare_prefix
        exec wine "$@"
        ;;
esac
