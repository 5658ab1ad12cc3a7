#!/usr/bin/env bash
# Starts the cross-built TarnvikAnalyzer.exe under Wine.
#   scripts/run.sh <build-dir>   (make run: build/mingw, the x64 exe; make run ARCH=x86: build/mingw32)
# With a usable display the program opens there, in a Wine prefix kept in
# <build-dir>/run-prefix, and this script returns when it is closed. Without one it runs
# headless on a private Xvfb display: presses "Test !", prints the summary box, saves a
# screenshot, prints the protocol and closes the program.
set -euo pipefail

build=$(cd "${1:-build/mingw}" && pwd)
scripts=$(cd "$(dirname "$0")" && pwd)
exe=$build/TarnvikAnalyzer.exe
driver=$build/tests/uidriver.exe
protocol=${exe%.exe}.txt

[ -f "$exe" ] || { echo "run: $exe is missing: build it first (make exe)" >&2; exit 1; }

export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="

# What the terminal can show; letters it lacks are approximated.
charset=$(locale charmap 2>/dev/null || echo UTF-8)
to_terminal() { iconv -f "$1" -t "$charset//TRANSLIT"; }

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The driver's output goes to a file: the program it starts inherits the driver's
# descriptors and would keep a pipe open.
run_driver() {
    wine "$driver" "$@" >"$build/driver.out" 2>&1 || {
        echo "run: the UI driver failed:" >&2
        cat "$build/driver.out" >&2
        return 1
    }
}

headless() {
    [ -f "$driver" ] || { echo "run: $driver is missing: build it first (make exe)" >&2; exit 1; }
    run_driver start "$(windows_path "$exe")" "" test
    echo "== $(sed -n 's/^box\.caption=//p' "$build/driver.out")"
    # The driver escapes backslashes and line breaks exactly as printf %b reads them.
    printf '%b\n' "$(sed -n 's/^box\.text=//p' "$build/driver.out")" | tr -d '\r' | to_terminal UTF-8
    echo
    # The desktop behind the dialog is plain black: trimming it leaves the dialog.
    /usr/bin/import -window root -trim +repage "$build/screenshot.png"
    echo "Screenshot: $build/screenshot.png"
    echo "Protocol: $protocol"
    echo
    to_terminal CP1250 <"$protocol" | tr -d '\r'
    run_driver attach close
}

if [ -n "${TARNVIK_RUN_HEADLESS:-}" ]; then
    headless
elif [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINEPREFIX=$build/run-prefix
    export WINEDEBUG=-all
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
    wine "$exe"
else
    # A fresh prefix, one wineserver and an Xvfb display, all gone when this ends.
    TARNVIK_RUN_HEADLESS=1 exec "$scripts/wine-session.sh" "$build/headless-prefix" "$0" "$build"
fi
