"""Loopback servers for the network items, each serving from its own thread until stop()."""

import http.server
import select
import socket
import ssl
import subprocess
import threading
from pathlib import Path

LOOPBACK = '127.0.0.1'


def openssl(folder, arguments):
    subprocess.run(
        ['openssl', *arguments.split()],
        cwd=folder,
        check=True,
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )


def make_ca(folder, name):
    """A self-signed CA in folder, <name>.pem and <name>.key; returns its DER bytes."""
    openssl(
        folder,
        f'req -x509 -newkey rsa:2048 -nodes -days 30 -subj /CN=Tarnvik-{name} '
        f'-keyout {name}.key -out {name}.pem',
    )
    return ssl.PEM_cert_to_DER_cert(Path(folder, f'{name}.pem').read_text())


def issue(folder, ca, name, host):
    """Host's certificate from ca, valid for a month; returns the (chain, key) files."""
    Path(folder, f'{name}.cnf').write_text(f'subjectAltName=DNS:{host}\n')
    openssl(
        folder,
        f'req -new -newkey rsa:2048 -nodes -subj /CN={host} -keyout {name}.key -out {name}.csr',
    )
    openssl(
        folder,
        f'x509 -req -in {name}.csr -CA {ca}.pem -CAkey {ca}.key -CAcreateserial -days 30 '
        f'-extfile {name}.cnf -out {name}.pem',
    )
    # The CA goes with the certificate, so that a client can tell whose root it is.
    chain = Path(folder, f'{name}.pem')
    chain.write_text(chain.read_text() + Path(folder, f'{ca}.pem').read_text())
    return str(chain), str(Path(folder, f'{name}.key'))


class Page(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, *arguments):
        pass

    def do_GET(self):
        self.server.agent = self.headers['User-Agent']
        self.send_response(200)
        self.send_header('Content-Length', '5')
        self.end_headers()
        self.wfile.write(b'Page\n')


class Stalling(Page):
    """Reads each request, then answers a byte every ten seconds and never a whole head: the
    client's own time-outs never fire, only the request's deadline ends it."""

    def handle(self):
        self.rfile.readline(65536)
        while not self.server.stopping.wait(10):
            self.wfile.write(b'H')


class Tunnel(Page):
    """A forward proxy: CONNECT is tunnelled to the server's chosen HTTPS port, a request for
    an absolute URI goes on to its HTTP port as it is."""

    rbufsize = 0  # nothing the client sends after the head may stay behind in a buffer here

    def handle(self):
        head = b''
        while not head.endswith(b'\r\n\r\n'):
            line = self.rfile.readline(65536)
            if not line:
                return
            head += line
        connect = head.startswith(b'CONNECT ')
        with socket.create_connection(
            (LOOPBACK, self.server.https if connect else self.server.http)
        ) as far:
            if connect:
                self.wfile.write(b'HTTP/1.1 200 Connection established\r\n\r\n')
            else:
                far.sendall(head)
            ends = [self.connection, far]
            while True:  # both ways until either side ends or all is quiet for 30 s
                ready = select.select(ends, [], [], 30)[0]
                data = ready[0].recv(65536) if ready else b''
                if not data:
                    return
                ends[1 if ready[0] is ends[0] else 0].sendall(data)


class Server(http.server.ThreadingHTTPServer):
    """Serves with handler, behind TLS given a (chain, key) pair; a Tunnel goes to http and https."""

    daemon_threads = True
    http = https = None

    def __init__(self, handler=Page, certificate=None):
        super().__init__((LOOPBACK, 0), handler)
        self.port = self.server_address[1]
        self.stopping = threading.Event()
        self.tls = None
        if certificate:
            self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.tls.load_cert_chain(*certificate)
        threading.Thread(target=self.serve_forever, daemon=True).start()

    def finish_request(self, request, address):
        if not self.tls:
            return super().finish_request(request, address)
        # In the connection's own thread; a client that refuses the certificate just leaves.
        with self.tls.wrap_socket(request, server_side=True) as wrapped:
            super().finish_request(wrapped, address)

    def handle_error(self, request, address):
        pass

    def stop(self):
        self.stopping.set()
        self.shutdown()
        self.server_close()
