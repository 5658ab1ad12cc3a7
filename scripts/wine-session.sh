#!/usr/bin/env bash
# Runs one command in a fresh Wine session: a new prefix, one wineserver that stays up for
# every program the command starts, and a virtual display from xvfb-run; all of them are
# stopped when the command ends.
#   [WINEARCH=win32] [WINDOWS_VERSION=winxp] scripts/wine-session.sh <prefix-dir> <command> [args...]
# The prefix is 64-bit unless WINEARCH says win32, and reports Wine's default Windows version
# unless WINDOWS_VERSION names another (as winecfg -v takes it). The command sees WINEPREFIX and
# DISPLAY. A 32-bit prefix, and 32-bit programs in a 64-bit one, need 32-bit Wine installed
# before the prefix is made.
set -euo pipefail

if [ -z "${WINE_SESSION_DISPLAY:-}" ]; then
    # xvfb-run picks a free display number and ends its server after the command.
    exec env WINE_SESSION_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

prefix=$1; shift
mkdir -p "$(dirname "$prefix")"
WINEPREFIX=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
export WINEPREFIX WINEARCH=${WINEARCH:-win64} WINEDEBUG=-all
# No Mono or Gecko installer prompts: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
log=$WINEPREFIX.log

stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}
trap stop_wine EXIT

rm -rf "$WINEPREFIX"
wineboot -i >"$log" 2>&1
[ -z "${WINDOWS_VERSION:-}" ] || winecfg -v "$WINDOWS_VERSION" >>"$log" 2>&1
# The server that wineboot started must end before a persistent one can take its place.
wineserver -w
wineserver -p
# No window manager runs on this display: Wine draws the frames itself and does not wait
# for a manager to confirm each hidden window. This first program also starts Wine's
# background processes, in a session of their own and writing to the log: started later by
# a test program, they would keep its output open for ever.
setsid -w wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$log" 2>&1
"$@"
