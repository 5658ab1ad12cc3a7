#!/usr/bin/env bash
# Builds and runs the HTTP body benchmark under Wine against the loopback HTTP server.
#   bench/http_body.sh [build-dir]      (default: build/mingw)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/mingw}

cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j2 --target http_body
scripts/wine-session.sh "$build/bench-wineprefix" \
    python3 tests/e2e/servers/run_with_servers.py --work-dir "$build/bench" -- \
    wine "$build/bench/http_body.exe"
