"""End-to-end tests of redirects: an allowed server that sends a document or a page's requests on
to a host the lists forbid (or on no list) must not get them there, whatever kind of request it
is and however often it is tried."""

import re
import time
import unittest

import harness as h

display = server = None

DENIED = "localhost"  # the test server under a name the lists forbid (or leave out)
REPEATS = 10


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    add_routes()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def elsewhere(path):
    return f"http://{DENIED}:{server.port}{path}"


PDF = b"%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n" \
      b"2 0 obj << /Type /Pages /Kids [] /Count 0 >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n"

# Each kind of request a page can make without navigating, as a script of one address `u`.
REQUEST_KINDS = {
    "xhr": "const x = new XMLHttpRequest(); x.open('GET', u); x.send();",
    "fetch": "fetch(u).catch(() => {});",
    "fetch-post": "fetch(u, {method: 'POST', body: 'secret'}).catch(() => {});",
    "fetch-cors": "fetch(u, {mode: 'cors', headers: {'X-Visitor': '1'}}).catch(() => {});",
    "fetch-no-cors": "fetch(u, {mode: 'no-cors'}).catch(() => {});",
    "keepalive": "fetch(u, {method: 'POST', body: 'secret', keepalive: true}).catch(() => {});",
    "beacon": "navigator.sendBeacon(u, 'secret');",
    "event-source": "const s = new EventSource(u); setTimeout(() => s.close(), 3000);",
    "image": "new Image().src = u;",
    "script": "const s = document.createElement('script'); s.src = u; document.body.append(s);",
    "style": "const l = document.createElement('link'); l.rel = 'stylesheet'; l.href = u; "
             "document.head.append(l);",
    "iframe": "const f = document.createElement('iframe'); f.src = u; document.body.append(f);",
}


def hop(kind, status, number):
    return f"/hop/{kind}/{status}/{number}"


def requests_page():
    calls = []
    for kind, script in REQUEST_KINDS.items():
        for status in (302, 307):
            for number in range(REPEATS):
                calls.append(f"(u => {{ {script} }})({hop(kind, status, number)!r});")
    return ("<!doctype html><title>Requests</title><body style='background:#2e9d4f'><script>"
            + "\n".join(calls) + "</script>")


def add_routes():
    for kind in REQUEST_KINDS:
        for status in (302, 307):
            for number in range(REPEATS):
                server.add_redirect(hop(kind, status, number), elsewhere(f"/tracker/{kind}/{status}/{number}"),
                                    status)
    server.add_page("/requests.html", requests_page())
    server.add_page("/remote.pdf", PDF, content_type="application/pdf")
    server.add_redirect("/doc.pdf", elsewhere("/remote.pdf"))
    server.add_redirect("/doc-twice.pdf", url("/hop-to-remote.pdf"))
    server.add_redirect("/hop-to-remote.pdf", elsewhere("/remote.pdf"), 307)
    server.add_page("/links.html", '<!doctype html><body style="margin:0">'
                    '<a href="/doc.pdf" style="position:absolute;left:20px;top:20px;width:420px;'
                    'height:44px;display:block;background:#1f5fa8;color:white">document</a>')


class RedirectCase(h.KioskTestCase):
    @classmethod
    def start_kiosk(cls, name, blacklist, **settings):
        cls.temp = cls.temporary_folder(name)
        config = {"Button1Width": 120, "Button1URL": url("/links.html"), "KillExplorer": "False", **settings}
        kiosk = h.Kiosk(display, config=config, whitelist=[url("/*")], blacklist=blacklist, name=name,
                        extra_env={"TMPDIR": cls.temp})
        cls.start_shared_kiosk(kiosk, url("/links.html"))

    def expect_document_refused(self, path, trigger):
        since, requests = self.kiosk.mark(), server.mark()
        trigger()
        self.kiosk.wait_log(rf"^Blocked download: {re.escape(url(path))}", 20, since)
        time.sleep(1)  # a document shown after all would be opened within this time
        reached = [p for p in server.paths(requests) if p == "/remote.pdf"]
        self.expect(not reached, f"{path}: the document's redirect reached the other host")
        self.expect(not self.kiosk.find_log(r"^(Downloaded file: |DocumentComplete: .*remote\.pdf)", since),
                    f"{path}: the document from the other host was kept or shown")


class DocumentRedirectTests(RedirectCase):
    """The other host is on no allow list."""

    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("document-redirects", [], DownloadPDF="True")

    def test_a_document_redirected_to_a_host_on_no_list_is_refused(self):
        self.kiosk.open_page(url("/links.html"))
        self.expect_document_refused("/doc.pdf", lambda: display.click(230, h.PANEL_HEIGHT + 42))
        for path in ("/doc.pdf", "/doc-twice.pdf"):
            with self.subTest(path=path):
                self.expect_document_refused(path, lambda: self.kiosk.send_navigate(url(path)))


class ViewerRedirectTests(RedirectCase):
    """The other host is denied, and PDF documents are opened by the engine's viewer."""

    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("viewer-redirects", h.host_masks(DENIED), DownloadPDF="False")

    def test_a_document_redirected_to_a_denied_host_is_refused(self):
        for path in ("/doc.pdf", "/doc-twice.pdf"):
            with self.subTest(path=path):
                self.kiosk.open_page(url("/links.html"))
                self.expect_document_refused(path, lambda: self.kiosk.send_navigate(url(path)))


class RequestRedirectTests(RedirectCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("request-redirects", h.host_masks(DENIED))

    def test_no_redirected_request_reaches_a_denied_host(self):
        since, requests = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(url("/requests.html"))
        self.kiosk.wait_loaded(url("/requests.html"), since=since)
        hops = len(REQUEST_KINDS) * 2 * REPEATS
        h.poll_until(lambda: len([p for p in server.paths(requests) if p.startswith("/hop/")]) >= hops, 20, 0.3)
        time.sleep(3)  # nothing marks the last redirected request: late ones come within this time
        asked = {p.split("/")[2] for p in server.paths(requests) if p.startswith("/hop/")}
        self.expect(asked == set(REQUEST_KINDS), f"the page did not make every kind of request: {sorted(asked)}")
        reached = sorted(p for p in server.paths(requests) if p.startswith("/tracker/"))
        self.expect(not reached, f"{len(reached)} redirected requests reached the denied host: {reached[:20]}")
        # The page goes away: requests that outlive it are redirected from the network alone.
        self.kiosk.open_page(url("/links.html"))
        time.sleep(2)
        reached = sorted(p for p in server.paths(requests) if p.startswith("/tracker/"))
        self.expect(not reached, f"{len(reached)} redirected requests reached the denied host: {reached[:20]}")


if __name__ == "__main__":
    unittest.main()
