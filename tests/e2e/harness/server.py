"""The web the kiosk sees in the tests: a server on 127.0.0.1 with the pages of tests/e2e/site
and routes a test programs, recording every request so that a test can tell which addresses
the kiosk really fetched."""

import http.server
import os
import socket
import socketserver
import ssl
import subprocess
import threading
import urllib.parse

from .processes import HarnessError, poll_until, register, unregister

SITE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "site")


def free_tcp_port():
    """A port nothing listens on right now (for a server, or for a refused connection)."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class _Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=SITE, **kwargs)

    def log_message(self, *args):  # the server keeps its own record
        pass

    def end_headers(self):
        # Every visit reaches the server, so a missing request proves a navigation was stopped.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def _route(self):
        server = self.server.owner
        path = urllib.parse.urlsplit(self.path).path
        server.record(self.command, self.path)
        return server.routes.get(path)

    def _serve(self, otherwise):
        route = self._route()
        if route:
            route(self)
        else:
            otherwise()

    def do_GET(self):
        self._serve(super().do_GET)

    def do_HEAD(self):
        self._serve(super().do_HEAD)

    def do_POST(self):
        self._serve(lambda: self.send_error(405))

    def reply(self, status, body=b"", content_type="text/html; charset=utf-8", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)


class _ThreadingServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def self_signed_certificate(folder, name="127.0.0.1"):
    """A key and a certificate for name that no one signed, made now in folder: (cert, key)."""
    cert, key = os.path.join(folder, "server.crt"), os.path.join(folder, "server.key")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", f"/CN={name}", "-addext", f"subjectAltName=IP:{name}",
                    "-keyout", key, "-out", cert], check=True, capture_output=True, timeout=60)
    return cert, key


class WebServer:
    """Serves tests/e2e/site on 127.0.0.1 (free port) plus programmable routes: `routes` maps a
    path (without query) to a function that answers the request."""

    def __init__(self):
        self.routes = {}
        self.requests = []
        self._lock = threading.Lock()
        self._server = None
        self._thread = None
        self.port = None
        self.scheme = "http"

    def __repr__(self):
        return f"WebServer({self.port})"

    def start(self, port=0, certificate=None):
        """Serves on port (0: a free one); with certificate, a (cert, key) pair, over TLS."""
        self._server = _ThreadingServer(("127.0.0.1", port), _Handler)
        if certificate:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*certificate)
            self._server.socket = context.wrap_socket(self._server.socket, server_side=True)
        self.scheme = "https" if certificate else "http"
        self._server.owner = self
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.2},
                                        daemon=True)
        self._thread.start()
        register(self)
        return self

    def stop(self):
        unregister(self)
        if self._server is not None:
            self._server.shutdown()
            self._server.server_close()
            self._thread.join(5)
            self._server = None

    def url(self, path="/"):
        return f"{self.scheme}://127.0.0.1:{self.port}{path}"

    # -- record ----------------------------------------------------------------------------

    def record(self, method, path):
        with self._lock:
            self.requests.append((method, path))

    def mark(self):
        with self._lock:
            return len(self.requests)

    def paths(self, since=0):
        with self._lock:
            return [path for _, path in self.requests[since:]]

    def wait_request(self, path, timeout=15, since=0):
        """Waits until path (with its query, when given one) was requested."""
        found = poll_until(lambda: path in self.paths(since) or any(
            p.split("?", 1)[0] == path for p in self.paths(since)), timeout)
        if not found:
            raise HarnessError(f"the server saw no request for {path} within {timeout} s; "
                               f"requests: {self.paths(since)}")

    # -- routes ----------------------------------------------------------------------------

    def add_redirect(self, path, location, status=302):
        self.routes[path] = lambda request: request.reply(status, headers=[("Location", location)])

    def add_attachment(self, path, filename, body=b"%PDF-1.4\n%%EOF\n", content_type="application/pdf"):
        self.routes[path] = lambda request: request.reply(
            200, body, content_type, [("Content-Disposition", f'attachment; filename="{filename}"')])

    def add_page(self, path, body, status=200, content_type="text/html; charset=utf-8"):
        data = body.encode() if isinstance(body, str) else body
        self.routes[path] = lambda request: request.reply(status, data, content_type)
