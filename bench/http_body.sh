#!/usr/bin/env bash
# Builds and runs the HTTP body benchmark under Wine against a loopback server that answers
# GET /bytes/<n> with n bytes.
#   bench/http_body.sh [build-dir]      (default: build/mingw)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/mingw}

cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j2 --target http_body
port_file=$(mktemp)
python3 - "$port_file" <<'PY' &
import http.server, sys
class Bytes(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        size = int(self.path.rsplit('/', 1)[-1])
        self.send_response(200)
        self.send_header('Content-Length', str(size))
        self.end_headers()
        chunk = b'x' * 65536
        while size > 0:
            self.wfile.write(chunk[:size])
            size -= len(chunk)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(('127.0.0.1', 0), Bytes)
open(sys.argv[1], 'w').write(str(server.server_port))
server.serve_forever()
PY
server=$!
trap 'kill $server' EXIT
while [ ! -s "$port_file" ]; do sleep 0.1; done
TARNVIK_TEST_HTTP_PORT=$(cat "$port_file") scripts/wine-session.sh "$build/bench-wineprefix" \
    wine "$build/bench/http_body.exe"
