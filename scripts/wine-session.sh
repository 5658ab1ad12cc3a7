#!/usr/bin/env bash
# Runs one command inside a fresh Wine session: a new prefix, one persistent
# wineserver and an Xvfb display, all stopped again when the command ends.
#   scripts/wine-session.sh <prefix-dir> <command> [args...]
# The command sees WINEPREFIX, DISPLAY and WINE_SESSION_LOG in its environment.
set -euo pipefail

prefix=$1; shift
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINE_SESSION_LOG=$prefix.log

xvfb_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

# A display that nobody uses: neither a lock file nor a socket exists for it.
if [ -z "${WINE_SESSION_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 91 199); do
        [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WINE_SESSION_LOG.xvfb" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 1 50); do
            [ -e /tmp/.X11-unix/X$n ] && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        if [ -e /tmp/.X11-unix/X$n ]; then export DISPLAY=:$n; break; fi
        xvfb_pid=
    done
    [ -n "$xvfb_pid" ] || { echo "wine-session: no free X display for Xvfb" >&2; exit 1; }
fi

rm -rf "$prefix"
wineboot -i >"$WINE_SESSION_LOG" 2>&1
# Keep one wineserver alive for every program the command starts. The server that
# wineboot started is still lingering and would make -p fail: let it end first.
wineserver -w
wineserver -p
# Start Wine's own background processes now, detached from our output: started later by a
# test program, they would inherit the test runner's pipes and keep them open for ever.
wine cmd /c exit </dev/null >>"$WINE_SESSION_LOG" 2>&1
"$@"
