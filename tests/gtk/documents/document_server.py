"""The web of the document fetching test: a server on 127.0.0.1 that serves a PDF, a program
offered as an attachment and PDF addresses larger than the kiosk keeps. Its first line on
standard output is its port; what it saw goes to the record file, a line each:
  GET <path> cookie=<Cookie header>
  END <path> sent=<bytes> hungup=<0|1>"""

import http.server
import socketserver
import sys
import threading

MIB = 1024 * 1024
OVERSIZE = 210 * MIB   # past the kiosk's limit of 200 MiB
HANG_SECONDS = 30      # the longest a response waits for a client that went quiet


def sample_pdf():
    """A valid one-page PDF with a line of text."""
    text = b"BT /F1 36 Tf 72 700 Td (Plintor sample) Tj ET"
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
               b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
               b"/Resources << /Font << /F1 5 0 R >> >> >>",
               b"<< /Length %d >>\nstream\n%s\nendstream" % (len(text), text),
               b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    out, offsets = b"%PDF-1.4\n", []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return out


PDF = sample_pdf()
record_lock = threading.Lock()


def record(line):
    with record_lock, open(sys.argv[1], "a") as out:
        out.write(line + "\n")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"  # the end of a body without a length is the connection's end

    def log_message(self, *args):
        pass

    def head(self, content_type, length=None, extra=()):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()

    def stream(self, total, chunk=MIB):
        sent = 0
        hungup = 0
        self.connection.settimeout(HANG_SECONDS)
        try:
            block = b"%PDF-1.4\n" + b"0" * (chunk - 9)
            while sent < total:
                self.wfile.write(block)
                sent += len(block)
        except (BrokenPipeError, ConnectionResetError):
            hungup = 1
        except TimeoutError:
            pass  # a client that stopped reading
        record(f"END {self.path} sent={sent} hungup={hungup}")

    def do_GET(self):
        record(f"GET {self.path} cookie={self.headers.get('Cookie', '')}")
        if self.path == "/setcookie":
            self.head("text/html", extra=[("Set-Cookie", "visitor=v1; Path=/")])
            self.wfile.write(b"<!doctype html><title>Welcome</title><p>Welcome</p>")
        elif self.path == "/files/report.pdf":
            self.head("application/pdf", len(PDF))
            self.wfile.write(PDF)
        elif self.path == "/dl/setup":
            body = b"MZ" + b"\0" * 4094
            self.head("application/octet-stream", len(body),
                      [("Content-Disposition", 'attachment; filename="setup.exe"')])
            self.wfile.write(body)
        elif self.path == "/dl/elsewhere":  # a document the same server sends under another name
            self.send_response(302)
            self.send_header("Location", f"http://localhost:{self.server.server_address[1]}/dl/report")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif self.path == "/dl/report":
            self.head("application/pdf", len(PDF), [("Content-Disposition", 'attachment; filename="report.pdf"')])
            self.wfile.write(PDF)
        elif self.path == "/files/endless.pdf":  # no size announced: only counting tells
            self.head("application/pdf")
            self.stream(OVERSIZE)
        elif self.path == "/files/announced.pdf":  # the size announced is too large at once
            self.head("application/pdf", OVERSIZE)
            self.stream(OVERSIZE, 64 * 1024)
        else:
            self.send_error(404)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


if __name__ == "__main__":
    with open(sys.argv[2], "wb") as out:
        out.write(PDF)
    server = Server(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()
