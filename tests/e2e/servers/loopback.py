"""Loopback-only servers for the reachability tests: an HTTP server with scripted answers,
HTTPS servers with good and bad certificates, a server that accepts and never answers,
and a forward proxy that sends configured host names to them."""

import http.server
import select
import socket
import socketserver
import ssl
import struct
import threading
import urllib.parse

LOOPBACK = "127.0.0.1"
CHUNK = b"\0" * 65536
PAGE = b"<html><body>Tarnvik loopback test page</body></html>\n"


class ScriptedHandler(http.server.BaseHTTPRequestHandler):
    """Answers by path:
      /, /ok, /es/logon.asp  200 with a small page
      /empty                 200 with an empty body
      /status/<code>         that status (no body for 1xx, 204, 304)
      /redirect              301 to /ok
      /bytes/<n>             200 with a body of n zero bytes
      /reset                 200 announcing 1 MB, 100 kB sent, then a connection reset
      /endless               200 with a body that never ends
    Requests through a proxy carry an absolute URI; only its path counts."""

    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path or "/"
        parts = path.strip("/").split("/")
        try:
            if path in ("/", "/ok", "/es/logon.asp"):
                self._answer(200, PAGE)
            elif path == "/empty":
                self._answer(200, b"")
            elif parts[0] == "status" and len(parts) == 2:
                self._answer(int(parts[1]), b"status page\n")
            elif path == "/redirect":
                self._answer(301, b"moved\n", [("Location", "/ok")])
            elif parts[0] == "bytes" and len(parts) == 2:
                self._stream(int(parts[1]))
            elif path == "/reset":
                self._reset_midway()
            elif path == "/endless":
                self._endless()
            else:
                self._answer(404, b"no such page\n")
        except (ConnectionError, ssl.SSLError, BrokenPipeError):
            self.close_connection = True

    def _answer(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        has_body = not (100 <= status < 200 or status in (204, 304))
        if has_body:
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if has_body:
            self.wfile.write(body)

    def _stream(self, size):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        view = memoryview(CHUNK)
        while size > 0:
            piece = min(size, len(CHUNK))
            self.wfile.write(view[:piece])
            size -= piece

    def _reset_midway(self):
        self.send_response(200)
        self.send_header("Content-Length", str(1000000))
        self.end_headers()
        self.wfile.write(b"\0" * 100000)
        self.wfile.flush()
        # Closing with a zero linger time sends a reset instead of an orderly end.
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.close_connection = True

    def _endless(self):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        while True:
            self.wfile.write(CHUNK)


class _QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that goes away mid-answer is part of the tests


class TlsServer(_QuietServer):
    """The scripted server behind TLS; the handshake runs in the connection's own thread."""

    def __init__(self, address, cert, key):
        super().__init__(address, ScriptedHandler)
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(cert, key)

    def finish_request(self, request, client_address):
        try:
            request = self.context.wrap_socket(request, server_side=True)
        except (OSError, ssl.SSLError):
            return  # the client refused the certificate
        try:
            super().finish_request(request, client_address)
        finally:
            request.close()


class SilentServer:
    """Accepts connections and never says a word."""

    def __init__(self):
        self.socket = socket.socket()
        self.socket.bind((LOOPBACK, 0))
        self.socket.listen(16)
        self.port = self.socket.getsockname()[1]
        self._held = []
        self._thread = threading.Thread(target=self._accept, daemon=True)
        self._thread.start()

    def _accept(self):
        while True:
            try:
                connection, _ = self.socket.accept()
            except OSError:
                return
            self._held.append(connection)

    def close(self):
        self.socket.close()
        for connection in self._held:
            connection.close()


class ProxyHandler(socketserver.StreamRequestHandler):
    """A forward proxy: CONNECT host:port opens a tunnel, any other request goes on as it
    is. Host names found in server.routes go to their loopback port; others get 502."""

    # Unbuffered, so that nothing the client sends after the head stays behind in a buffer.
    rbufsize = 0

    def handle(self):
        head = b""
        while not head.endswith(b"\r\n\r\n"):
            line = self.rfile.readline(65537)
            if not line:
                return
            head += line
        method, target = head.split(b" ", 2)[:2]
        if method == b"CONNECT":
            host = target.rsplit(b":", 1)[0].decode("ascii", "replace")
        else:
            host = urllib.parse.urlsplit(target.decode("ascii", "replace")).hostname or ""
        port = self.server.routes.get(host.lower())
        if port is None:
            self.wfile.write(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n"
                             b"Connection: close\r\n\r\n")
            return
        try:
            upstream = socket.create_connection((LOOPBACK, port))
        except OSError:
            self.wfile.write(b"HTTP/1.1 504 Gateway Timeout\r\nContent-Length: 0\r\n"
                             b"Connection: close\r\n\r\n")
            return
        with upstream:
            if method == b"CONNECT":
                self.wfile.write(b"HTTP/1.1 200 Connection established\r\n\r\n")
            else:
                upstream.sendall(head)
            _relay(self.connection, upstream)


def _relay(a, b):
    sockets = [a, b]
    while True:
        readable, _, _ = select.select(sockets, [], [], 60)
        if not readable:
            return
        for source in readable:
            try:
                data = source.recv(65536)
            except OSError:
                return
            if not data:
                return
            try:
                (b if source is a else a).sendall(data)
            except OSError:
                return


class _ProxyServer(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass


class LoopbackServers:
    """Starts every server on a free loopback port; close() stops them all."""

    def __init__(self, certificates, routes_by_host):
        """`certificates` is certs.make_certificates' result; `routes_by_host` maps a host
        name to "http" or "https", the server the proxy sends it to."""
        self._servers = []
        self.http = self._serve(_QuietServer((LOOPBACK, 0), ScriptedHandler))
        self.https = self._serve(TlsServer((LOOPBACK, 0), *certificates["good"]))
        self.https_expired = self._serve(TlsServer((LOOPBACK, 0), *certificates["expired"]))
        self.https_wrong_host = self._serve(TlsServer((LOOPBACK, 0), *certificates["wrong_host"]))
        self.https_untrusted = self._serve(TlsServer((LOOPBACK, 0), *certificates["untrusted"]))
        self.silent = SilentServer()
        ports = {"http": self.http, "https": self.https}
        proxy = _ProxyServer((LOOPBACK, 0), ProxyHandler)
        proxy.routes = {host.lower(): ports[kind] for host, kind in routes_by_host.items()}
        self._proxy = proxy
        self.proxy = self._serve(proxy)

    def route(self, host, port):
        """From now on the proxy sends requests for `host` to the loopback `port`."""
        self._proxy.routes[host.lower()] = port

    def _serve(self, server):
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self._servers.append(server)
        return server.server_address[1]

    def environment(self):
        """The ports, as the tests read them from their environment."""
        return {
            "TARNVIK_TEST_HTTP_PORT": str(self.http),
            "TARNVIK_TEST_HTTPS_PORT": str(self.https),
            "TARNVIK_TEST_HTTPS_EXPIRED_PORT": str(self.https_expired),
            "TARNVIK_TEST_HTTPS_WRONG_HOST_PORT": str(self.https_wrong_host),
            "TARNVIK_TEST_HTTPS_UNTRUSTED_PORT": str(self.https_untrusted),
            "TARNVIK_TEST_SILENT_PORT": str(self.silent.port),
            "TARNVIK_TEST_PROXY_PORT": str(self.proxy),
        }

    def close(self):
        for server in self._servers:
            server.shutdown()
            server.server_close()
        self.silent.close()
