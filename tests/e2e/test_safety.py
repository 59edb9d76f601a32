"""End-to-end tests of a hostile visitor's tricks: local files, other spellings of a denied host,
addresses hidden in fragments and paths, a log flooded by one address, a document that loops,
requests below the page to denied hosts, and command lines that must not start a kiosk."""

import os
import re
import subprocess
import time
import unittest
import urllib.parse
import zlib

import harness as h

display = server = None


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    add_routes()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def local(path):
    """The same server under the name localhost."""
    return f"http://localhost:{server.port}{path}"


def pdf_with_link(target):
    """A one-page PDF: a blue page that is a single link to target."""
    content = b"0 0 1 rg 0 0 612 792 re f"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Annots [4 0 R] /Contents 5 0 R >>",
        b"<< /Type /Annot /Subtype /Link /Rect [0 0 612 792] /Border [0 0 0] /A << /S /URI /URI ("
        + target.encode() + b") >> >>",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
    ]
    body = b"%PDF-1.4\n"
    offsets = []
    for number, obj in enumerate(objects, 1):
        offsets.append(len(body))
        body += b"%d 0 obj\n" % number + obj + b"\nendobj\n"
    xref = len(body)
    body += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    body += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    body += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return body


TRACKERS = 20


def tracked_page():
    images = "".join(f'<img src="{local(f"/tracker/p{i}.png")}" width="8" height="8">' for i in range(TRACKERS))
    script = f"""
        fetch("{local('/tracker/api')}").catch(() => {{}});
        try {{ new WebSocket("ws://localhost:{server.port}/tracker/ws"); }} catch (e) {{}}
        try {{ new EventSource("{local('/tracker/events')}"); }} catch (e) {{}}
        navigator.sendBeacon("{local('/tracker/beacon')}", "visit");
    """
    return (f"<!doctype html><title>Tracked</title><body style='background:#2e9d4f'>{images}"
            f"<img src='/pixel.png' width='8' height='8'><script>{script}</script>")


def add_routes():
    server.add_attachment("/pdf/link", "link.pdf", pdf_with_link("file:///usr/share/"))
    server.add_page("/longquery.html", "<!doctype html><title>Long</title><script>"
                    "if (!location.search) location.replace(location.pathname + '?' + 'q'.repeat(150000));"
                    "</script><p>Long</p>")
    server.add_page("/tracked.html", tracked_page())
    server.add_page("/pixel.png", zlib.compress(b"not a picture"), content_type="image/png")
    server.add_page("/open/page.html", "<!doctype html><title>Open</title><p>Open</p>")
    server.add_page("/secret.html", "<!doctype html><title>Secret</title><p>Secret</p>")
    server.add_page("/docs.html", '<!doctype html><body style="margin:0">'
                    '<a href="/files/letter.docx" style="position:absolute;left:20px;top:20px;width:420px;'
                    'height:44px;display:block;background:#1f5fa8;color:white">letter</a>')
    server.add_page("/files/letter.docx", b"PK\x03\x04 not really a word document",
                    content_type="application/vnd.openxmlformats-officedocument.wordprocessingml.document")


class SafetyCase(h.KioskTestCase):
    @classmethod
    def start_kiosk(cls, name, whitelist, blacklist, home="/allowed.html", **settings):
        config = {"Button1Width": 120, "Button1URL": url(home), "KillExplorer": "False", **settings}
        cls.temp = cls.temporary_folder(name)
        kiosk = h.Kiosk(display, config=config, whitelist=whitelist, blacklist=blacklist, name=name,
                        extra_env={"TMPDIR": cls.temp})
        cls.start_shared_kiosk(kiosk, url(home))

    def expect_refused(self, address):
        """address is judged blocked (the engine may log it in its own spelling) and never
        reaches the server."""
        since, requests = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(address)
        entry = self.kiosk.wait_log(r"^BeforeNavigate: ", since=since)
        self.expect(entry.text.endswith("(False)"), f"{address} was let through: {entry.text}")
        self.kiosk.open_page(url("/allowed.html"))  # handled after it: a barrier
        path = urllib.parse.urlsplit(address).path
        self.expect(path not in [p.split("?", 1)[0] for p in server.paths(requests)],
                    f"{address} reached the server: {server.paths(requests)}")


class SpellingTests(SafetyCase):
    """Every address allowed, some hosts and folders denied: other spellings stay denied."""

    @classmethod
    def setUpClass(cls):
        blacklist = (h.host_masks("localhost") + h.host_masks("127.0.0.2")
                     + [f"http://127.0.0.1:{server.port}/open/private", f"http://127.0.0.1:{server.port}/open/private/*"])
        cls.start_kiosk("spelling", ["*"], blacklist)

    def test_other_spellings_of_a_denied_host_are_denied(self):
        for address in (f"http://localhost.:{server.port}/secret.html",
                        f"http://LOCALHOST.:{server.port}/secret.html",
                        f"http://[::ffff:127.0.0.2]:{server.port}/secret.html",
                        f"http://2130706434:{server.port}/secret.html"):
            with self.subTest(address=address):
                self.expect_refused(address)

    def test_paths_a_lenient_server_merges_are_denied(self):
        for address in (url("/open//private/"), url("/open/a%2F..%2Fprivate/"), url("/open/%70rivate/x")):
            with self.subTest(address=address):
                self.expect_refused(address)


class VisitorTrickTests(SafetyCase):
    """A narrow allow list: the usual pages, one folder of localhost, no local files."""

    @classmethod
    def setUpClass(cls):
        whitelist = [url(path) for path in ("/allowed.html", "/longquery.html", "/tracked.html", "/pixel.png")]
        whitelist += [url("/pdf/*"), f"*://localhost:{server.port}/open/*"]
        blacklist = [f"*://localhost:{server.port}/tracker", f"*://localhost:{server.port}/tracker/*"]
        cls.start_kiosk("tricks", whitelist, blacklist, DownloadPDF="True")

    def test_local_files_need_a_mask(self):
        for address in ("file:///etc/hosts", f"file://{self.kiosk.home}/plintor.ini", "file:///usr/share/"):
            with self.subTest(address=address):
                since = self.kiosk.mark()
                self.kiosk.send_navigate(address)
                self.kiosk.wait_navigation(address, False, since=since)
                self.kiosk.open_page(url("/allowed.html"))
                self.expect(not self.kiosk.find_log(rf"^NavigateComplete: {re.escape(address)}", since),
                            f"{address} was shown")

    def test_a_link_in_a_pdf_cannot_open_a_local_folder(self):
        since = self.kiosk.mark()
        self.kiosk.send_navigate(url("/pdf/link"))  # an attachment: shown from the temporary file
        self.kiosk.wait_loaded(f"file://{h.documents_folder(self.temp)}/temp.pdf#toolbar=0&navpanes=0", 30, since)
        def blue_share():
            return display.capture().colour_share((0, 0, 255), (500, 300, 780, 600))

        blue = h.poll_until(lambda: blue_share() > 0.8, 20, 0.3)
        self.expect(blue, "the PDF with the link is not shown")
        since = self.kiosk.mark()
        display.click(640, 450)
        # The engine's viewer makes no link of a local address, or hands it to the lists, which
        # refuse it: either way the folder is never shown.
        time.sleep(3)
        self.expect(not self.kiosk.find_log(r"^(BeforeNavigate: file:///usr/share/ \(True\)|NavigateComplete: file:///usr/share/)",
                                            since),
                    "the link in the PDF opened the local folder")
        self.expect(self.kiosk.find_log(r"^BeforeNavigate: file:///usr/share/ \(False\)$", since) or
                    blue_share() > 0.8, "the PDF went away, but not through a refused navigation")

    def test_an_allowed_address_hidden_in_a_fragment_or_a_path_opens_nothing(self):
        for address in (url(f"/secret.html#://localhost:{server.port}/open/y"),
                        url(f"/://localhost:{server.port}/open/y")):
            with self.subTest(address=address):
                self.expect_refused(address)
        self.kiosk.open_page(local("/open/page.html"))  # the mask itself still works

    def test_one_long_address_does_not_wipe_the_log(self):
        since = self.kiosk.mark()
        self.kiosk.send_navigate(url("/longquery.html"))
        # The test server refuses so long an address; the entries are written either way.
        self.kiosk.wait_log(r"^(DocumentComplete|NavigateError): .*/longquery\.html\?q{100}", 30, since)
        entries = self.kiosk.read_log()
        self.expect(entries[0].text.startswith("Start, Plintor "), f"the log lost its start: {entries[0]!r}")
        longest = max(len(entry.text) for entry in entries)
        self.expect(longest < 5000, f"an entry of {longest} characters was written")

    def test_requests_to_denied_hosts_are_refused_and_counted(self):
        since, requests = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(url("/tracked.html"))
        self.kiosk.wait_loaded(url("/tracked.html"), since=since)
        entry = self.kiosk.wait_log(r"^Blocked requests: \d+$", 10, since)
        count = int(entry.text.split()[-1])
        self.expect(count >= TRACKERS, f"only {count} requests were counted")
        server.wait_request("/pixel.png", since=requests)  # the page's own request went through
        time.sleep(2)  # nothing marks the last of the script's requests: late ones come within this time
        reached = [path for path in server.paths(requests) if path.startswith("/tracker")]
        self.expect(not reached, f"requests to the denied host reached it: {reached}")
        self.expect(len(self.kiosk.find_log(r"^Blocked requests: ", since)) <= 2,
                    "blocked requests were logged one by one")

    def test_f5_reloads_the_page(self):
        self.kiosk.open_page(url("/allowed.html"))
        since, requests = self.kiosk.mark(), server.mark()
        display.key("F5")
        server.wait_request("/allowed.html", 10, since=requests)
        self.kiosk.wait_loaded(url("/allowed.html"), since=since)


class RequestsAllowedTests(SafetyCase):
    @classmethod
    def setUpClass(cls):
        whitelist = [url("/tracked.html"), url("/allowed.html")]
        cls.start_kiosk("requests-allowed", whitelist, [local("/tracker/*")], DenyAllRequests="False")

    def test_without_the_key_only_navigations_are_judged(self):
        requests = server.mark()
        self.kiosk.open_page(url("/tracked.html"))
        server.wait_request("/tracker/p0.png", 10, since=requests)


class WordWithoutConversionTests(SafetyCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("word", [url("/*")], [], home="/docs.html", DownloadWord="True")

    def test_a_word_document_is_answered_once_as_blocked(self):
        since, requests = self.kiosk.mark(), server.mark()
        display.click(230, h.PANEL_HEIGHT + 42)
        address = url("/files/letter.docx")
        self.kiosk.wait_log(rf"^Blocked download: {re.escape(address)}$", 20, since)
        time.sleep(5)  # a loop would go on in this time; nothing else shows that there is none
        self.expect(len(self.kiosk.find_log(r"^Blocked download: ", since)) == 1, "the document was answered twice")
        self.expect(not self.kiosk.find_log(r"^Download(ed)? file: ", since), "the document was kept")
        fetched = [path for path in server.paths(requests) if path == "/files/letter.docx"]
        self.expect(len(fetched) <= 1, f"the document was fetched {len(fetched)} times")


class CommandLineTests(unittest.TestCase):
    def run_program(self, *args):
        env = display.env()
        return subprocess.run([h.binary_path(), *args], env=env, capture_output=True, timeout=20,
                              stdin=subprocess.DEVNULL, cwd=os.path.dirname(h.binary_path()))

    def test_help_version_and_mistakes_start_no_kiosk(self):
        windows = display.top_level_windows()
        cases = [(("--help",), 0, "Usage: plintor"), (("-h",), 0, "Usage: plintor"),
                 (("--version",), 0, "Plintor "), (("help",), 2, 'unexpected argument "help"; try --help'),
                 (("--fullscreen",), 2, 'unknown option "--fullscreen"; try --help')]
        for args, code, text in cases:
            with self.subTest(args=args):
                result = self.run_program(*args)
                output = (result.stdout + result.stderr).decode(errors="replace")
                self.assertEqual(result.returncode, code, output)
                self.assertIn(text, output)
                self.assertFalse(h.kiosk_channel_in_use(), "a kiosk took the channel")
                self.assertLessEqual(display.top_level_windows(), windows, "a window appeared")


if __name__ == "__main__":
    unittest.main()
