"""End-to-end tests of documents: files a page offers are fetched by the kiosk itself, kept only
when they are PDF or Word documents the configuration allows, Word documents converted with the
real LibreOffice, and PDF documents shown by the engine's viewer without its toolbar."""

import io
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import zipfile

import harness as h

VIEWER_BACKGROUND = (0xD4, 0xD4, 0xD7)  # the engine's PDF viewer: the grey around the pages
VIEWER_MARGIN = 12                       # the width of the grey beside a page fitted to the width
VIEWER_TOOLBAR_HEIGHT = 32               # where the viewer's toolbar would be
HINT_BACKGROUND = (0xFF, 0xFF, 0xE1)    # the blocked panel's paper
HANG_SECONDS = 75                       # longer than the kiosk waits for a transfer

display = server = None
documents = {}
hang_release = threading.Event()

# The page of links, one block per row, each 420 x 44 at 20 + 54 * row down the page.
LINKS = ["/files/report.pdf", "/dl/report", "/files/letter.docx", "/files/old.doc", "/dl/setup",
         "/files/missing.docx", "/files/hang.docx", "/private/dl"]


def link_position(path):
    row = LINKS.index(path)
    return 230, h.PANEL_HEIGHT + 20 + 54 * row + 22


def docs_page():
    blocks = "".join(
        f'<a href="{path}" style="position:absolute;left:20px;top:{20 + 54 * row}px;width:420px;height:44px;'
        f'display:block;background:#1f5fa8;color:white;font:20px sans-serif">{path}</a>'
        for row, path in enumerate(LINKS))
    return f"<!doctype html><title>Documents</title><body style='margin:0'>{blocks}</body>".encode()


def make_documents(folder):
    """A PDF, a DOCX and a DOC written by LibreOffice itself from one text."""
    text = os.path.join(folder, "sample.txt")
    with open(text, "w") as out:
        out.write("Plintor sample document\n\nThis text came from a word processor.\n")
    made = {}
    for extension in ("pdf", "docx", "doc"):
        result = subprocess.run(["soffice", "--headless", "--convert-to", extension, "--outdir", folder, text],
                                env=dict(os.environ, HOME=folder), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=120)
        path = os.path.join(folder, f"sample.{extension}")
        if result.returncode != 0 or not os.path.exists(path):
            raise h.HarnessError(f"LibreOffice could not make a .{extension} test document")
        with open(path, "rb") as document:
            made[extension] = document.read()
    return made


def word_with_linked_picture(target):
    """A real Word document (a ZIP with word/document.xml) whose one picture is linked, not
    embedded: a converter that may go online fetches it."""
    package = "http://schemas.openxmlformats.org/package/2006/relationships"
    office = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    drawing = "http://schemas.openxmlformats.org/drawingml/2006"
    parts = {
        "[Content_Types].xml":
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" '
            'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>',
        "_rels/.rels": f'<Relationships xmlns="{package}"><Relationship Id="rId1" '
                       f'Type="{office}/officeDocument" Target="word/document.xml"/></Relationships>',
        "word/_rels/document.xml.rels":
            f'<Relationships xmlns="{package}"><Relationship Id="rImg" Type="{office}/image" '
            f'Target="{target}" TargetMode="External"/></Relationships>',
        "word/document.xml":
            '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
            f'xmlns:r="{office}" xmlns:wp="{drawing}/wordprocessingDrawing" xmlns:a="{drawing}/main" '
            f'xmlns:pic="{drawing}/picture"><w:body><w:p><w:r><w:t>Letter</w:t></w:r></w:p><w:p><w:r>'
            '<w:drawing><wp:inline><wp:extent cx="914400" cy="914400"/><wp:docPr id="1" name="p"/><a:graphic>'
            f'<a:graphicData uri="{drawing}/picture"><pic:pic><pic:nvPicPr><pic:cNvPr id="1" name="p"/>'
            '<pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:link="rImg"/></pic:blipFill><pic:spPr>'
            '<a:xfrm><a:off x="0" y="0"/><a:ext cx="914400" cy="914400"/></a:xfrm><a:prstGeom prst="rect"/>'
            '</pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p></w:body>'
            '</w:document>',
    }
    archive = io.BytesIO()
    with zipfile.ZipFile(archive, "w") as out:
        for name, text in parts.items():
            out.writestr(name, text)
    return archive.getvalue()


def add_routes():
    pdf_type = "application/pdf"
    word_types = {"docx": "application/vnd.openxmlformats-officedocument.wordprocessingml.document",
                  "doc": "application/msword"}
    server.add_page("/docs.html", docs_page())
    server.add_page("/files/report.pdf", documents["pdf"], content_type=pdf_type)
    server.add_attachment("/dl/report", "a.pdf", documents["pdf"])
    server.add_page("/files/letter.docx", documents["docx"], content_type=word_types["docx"])
    server.add_page("/files/old.doc", documents["doc"], content_type=word_types["doc"])
    server.add_attachment("/dl/setup", "setup.exe", b"MZ\x90\x00" + b"\x00" * 1024, "application/octet-stream")
    server.add_page("/files/missing.docx", b"<!doctype html><p>Not here</p>", status=404)
    tracker = f"http://localhost:{server.port}/tracker"
    server.add_page("/files/linked.docx", word_with_linked_picture(f"{tracker}/linked.png"),
                    content_type=word_types["docx"])
    server.add_page("/files/web.doc", f'<html><body><p>Letter</p><img src="{tracker}/web.png"></body></html>',
                    content_type=word_types["doc"])
    server.add_page("/files/flat.docx", '<?xml version="1.0"?><office:document xmlns:office='
                    '"urn:oasis:names:tc:opendocument:xmlns:office:1.0"><office:body><office:text><text:p '
                    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">Letter</text:p><draw:image '
                    f'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xlink:href="{tracker}/flat.png"/>'
                    '</office:text></office:body></office:document>', content_type=word_types["docx"])

    def hang(request):
        hang_release.wait(HANG_SECONDS)

    server.routes["/files/hang.docx"] = hang

    def trickle(request):  # a PDF at one byte a second, longer than the kiosk waits
        request.send_response(200)
        request.send_header("Content-Type", pdf_type)
        request.send_header("Content-Length", str(len(documents["pdf"])))
        request.end_headers()
        for byte in documents["pdf"][:HANG_SECONDS]:
            if hang_release.wait(1):
                return
            try:
                request.wfile.write(bytes([byte]))
            except OSError:
                return  # the kiosk gave up on it

    def huge(request):  # says it brings 300 MB, then keeps the kiosk waiting
        request.send_response(200)
        request.send_header("Content-Type", pdf_type)
        request.send_header("Content-Length", str(300 * 1024 * 1024))
        request.end_headers()
        try:
            request.wfile.write(b"%PDF-1.4\n" + b"%" * 65536)  # past the engine's type sniffing
        except OSError:
            return
        hang_release.wait(HANG_SECONDS)

    server.routes["/files/slow.pdf"] = trickle
    server.routes["/files/huge.pdf"] = huge
    server.add_page("/files/page.pdf", b"<!doctype html><title>Sign in</title><body style='background:#2e9d4f'>")

    def login(request):
        request.reply(302, headers=[("Location", "/docs.html"), ("Set-Cookie", "session=visitor; Path=/")])

    def private(request):
        if "session=visitor" in (request.headers.get("Cookie") or ""):
            request.reply(200, documents["pdf"], pdf_type,
                          headers=[("Content-Disposition", 'attachment; filename="secret.pdf"')])
        else:
            request.reply(403, b"<!doctype html><p>Log in first</p>")

    server.routes["/login"] = login
    server.routes["/private/dl"] = private


def setUpModule():
    global display, server, documents
    work = tempfile.mkdtemp(prefix="plintor-e2e-documents-")
    try:
        documents = make_documents(work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    display = h.XDisplay().start()
    server = h.WebServer().start()
    add_routes()


def tearDownModule():
    hang_release.set()
    h.stop_everything()


def url(path):
    return server.url(path)


class DocumentCase(h.KioskTestCase):
    temp = None

    @classmethod
    def start_kiosk(cls, name, **settings):
        cls.temp = cls.temporary_folder(name)
        config = {"Button1Width": 120, "Button1URL": url("/docs.html"), "Button1Caption": "Docs",
                  "MsgBlocked": "This file is not available", "KillExplorer": "False", **settings}
        kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], blacklist=[],
                        name=name, extra_env={"TMPDIR": cls.temp})
        cls.start_shared_kiosk(kiosk, url("/docs.html"))

    def setUp(self):
        super().setUp()
        self.kiosk.open_page(url("/docs.html"))

    def expect_blocked_hint(self, path):
        """The blocked panel shows its paper over the middle of the page; a touch on it takes it
        away, so that the next answer is one of its own."""
        x, y = (h.PAGE_AREA[0] + h.PAGE_AREA[2]) // 2, (h.PAGE_AREA[1] + h.PAGE_AREA[3]) // 2
        box = (x - 280, y - 20, x + 280, y + 20)
        shown = h.poll_until(lambda: display.capture().colour_share(HINT_BACKGROUND, box, step=2) > 0.3, 3, 0.1)
        if not shown:
            display.screenshot("no-blocked-hint")
            self.kiosk.fail(f"{path}: no blocked panel appeared over the page")
        display.click(x - 300, y)  # on the panel's paper, beside its text
        if not h.poll_until(lambda: display.capture().colour_share(HINT_BACKGROUND, box, step=2) < 0.01, 3, 0.1):
            self.kiosk.fail(f"{path}: the blocked panel stayed after a touch")

    def temp_file(self, name):
        return os.path.join(h.documents_folder(self.temp), name)

    def click_link(self, path):
        since = self.kiosk.mark()
        display.click(*link_position(path))
        return since

    def expect_viewer_without_toolbar(self, what):
        """The PDF viewer fills the page area: its grey beside a drawn white page, no toolbar."""
        def shown():
            image = display.capture()
            background = image.colour_share(VIEWER_BACKGROUND, (0, h.PANEL_HEIGHT + 60, VIEWER_MARGIN, h.SCREEN_HEIGHT),
                                            step=2)
            paper = image.colour_share((0xFF, 0xFF, 0xFF), (500, h.PANEL_HEIGHT + 150, 780, h.SCREEN_HEIGHT - 100))
            return image if background > 0.9 and paper > 0.8 else None

        image = h.poll_until(shown, 20, 0.3)
        if image is None:
            display.screenshot(f"{what}-not-shown")
            self.kiosk.fail(f"{what}: the PDF viewer did not fill the page area")
        # Where the toolbar would be, the viewer's grey goes on up to the panel.
        beside = image.colour_share(VIEWER_BACKGROUND,
                                    (0, h.PANEL_HEIGHT, VIEWER_MARGIN, h.PANEL_HEIGHT + VIEWER_TOOLBAR_HEIGHT), step=2)
        shot = display.screenshot(what)
        self.expect(beside > 0.8, f"{what}: the viewer shows its toolbar ({beside:.0%} grey beside it); {shot}")

    def expect_shown_from_temp(self, since, what):
        shown = f"file://{self.temp_file('temp.pdf')}#toolbar=0&navpanes=0"
        self.kiosk.wait_log(rf"^BeforeNavigate: {re.escape(shown)} \(True\)$", 20, since)
        self.kiosk.wait_log(rf"^DocumentComplete: {re.escape(shown)}$", 20, since)
        self.expect_viewer_without_toolbar(what)


class DocumentsTests(DocumentCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("documents", DownloadPDF="True", DownloadWord="True", ConvertWordToPDF="True")

    def test_pdf_by_address_opens_in_the_viewer_without_its_toolbar(self):
        since = self.click_link("/files/report.pdf")
        address = url("/files/report.pdf") + "#toolbar=0&navpanes=0"
        self.kiosk.wait_log(rf"^BeforeNavigate: {re.escape(address)} \(True\)$", 20, since)
        self.expect(not self.kiosk.find_log(rf"^BeforeNavigate: {re.escape(url('/files/report.pdf'))} ", since),
                    "the address without the viewer's parameters was opened too")
        self.expect_viewer_without_toolbar("pdf-by-address")

    def test_pdf_attachment_is_fetched_into_the_temporary_file_and_shown(self):
        since = self.click_link("/dl/report")
        self.kiosk.wait_log(rf"^Download file: {re.escape(url('/dl/report'))}$", 20, since)
        self.kiosk.wait_log(rf"^Downloaded file: {re.escape(self.temp_file('temp.pdf'))}$", 20, since)
        self.expect_shown_from_temp(since, "pdf-attachment")
        with open(self.temp_file("temp.pdf"), "rb") as fetched:
            self.expect(fetched.read() == documents["pdf"], "temp.pdf is not the file the server sent")

    def test_word_documents_are_converted_and_shown_as_pdf(self):
        for path, kept in (("/files/letter.docx", "temp.docx"), ("/files/old.doc", "temp.doc")):
            with self.subTest(path=path):
                self.kiosk.open_page(url("/docs.html"))
                since = self.click_link(path)
                self.kiosk.wait_log(rf"^Downloaded file: {re.escape(self.temp_file(kept))}$", 20, since)
                self.kiosk.wait_log(rf"^Converted to PDF: {re.escape(self.temp_file('temp.pdf'))}$", 150, since)
                self.expect_shown_from_temp(since, f"word-{kept}")

    def test_word_documents_never_take_the_converter_online(self):
        requests = server.mark()
        since = self.kiosk.mark()
        self.kiosk.send_navigate(url("/files/linked.docx"))
        self.kiosk.wait_log(rf"^Converted to PDF: {re.escape(self.temp_file('temp.pdf'))}$", 150, since)
        for path in ("/files/web.doc", "/files/flat.docx"):
            with self.subTest(path=path):
                since = self.kiosk.mark()
                self.kiosk.send_navigate(url(path))
                self.kiosk.wait_log(rf"^Blocked download: {re.escape(url(path))}$", 30, since)
                self.expect(not self.kiosk.find_log(r"^(Downloaded file|Converted to PDF): ", since),
                            f"{path}, no Word document, was kept or converted")
        reached = [path for path in server.paths(requests) if path.startswith("/tracker")]
        self.expect(not reached, f"the converter fetched what a document links to: {reached}")

    def test_other_files_and_failed_fetches_are_blocked(self):
        for path in ("/dl/setup", "/files/missing.docx"):
            with self.subTest(path=path):
                self.kiosk.open_page(url("/docs.html"))
                since = self.click_link(path)
                self.kiosk.wait_log(rf"^Blocked download: {re.escape(url(path))}$", 20, since)
                self.expect_blocked_hint(path)
                self.expect(not self.kiosk.find_log(r"^Downloaded file: ", since), f"{path} was kept")

    def test_a_pdf_behind_a_login_opens_with_the_visitors_session(self):
        since = self.kiosk.mark()
        self.kiosk.send_navigate(url("/login"))  # sets the session cookie and returns to the links
        self.kiosk.wait_loaded(url("/docs.html"), 30, since)
        since = self.click_link("/private/dl")
        self.kiosk.wait_log(rf"^Downloaded file: {re.escape(self.temp_file('temp.pdf'))}$", 20, since)
        self.expect_shown_from_temp(since, "pdf-behind-login")

    def test_direct_pdfs_keep_the_limits_of_a_download(self):
        for path, seconds in (("/files/huge.pdf", 10), ("/files/slow.pdf", 75)):
            with self.subTest(path=path):
                since = self.kiosk.mark()
                self.kiosk.send_navigate(url(path))
                self.kiosk.wait_log(rf"^Blocked download: {re.escape(url(path))}(#.*)?$", seconds, since)
                self.expect(not self.kiosk.find_log(r"^Downloaded file: ", since), f"{path} was kept")
                self.expect(self.kiosk.alive(), "the kiosk ended")

    def test_a_page_at_the_address_of_a_document_is_shown_as_a_page(self):
        since = self.kiosk.mark()
        self.kiosk.send_navigate(url("/files/page.pdf"))
        self.kiosk.wait_log(rf"^DocumentComplete: {re.escape(url('/files/page.pdf'))}", 20, since)
        self.expect(not self.kiosk.find_log(r"^Blocked download: ", since), "the page was refused")

    def test_a_server_that_never_answers_is_given_up(self):
        since = self.click_link("/files/hang.docx")
        self.kiosk.wait_log(rf"^Blocked download: {re.escape(url('/files/hang.docx'))}$", 70, since)
        self.expect(self.kiosk.alive(), "the kiosk ended")


class DownloadsOffTests(DocumentCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("downloads-off")

    def test_every_download_is_blocked_and_nothing_kept(self):
        for path in ("/dl/report", "/files/letter.docx"):
            with self.subTest(path=path):
                self.kiosk.open_page(url("/docs.html"))
                since = self.click_link(path)
                self.kiosk.wait_log(rf"^Blocked download: {re.escape(url(path))}$", 20, since)
                self.expect_blocked_hint(path)
        time.sleep(1)  # nothing shows that no file is coming: one written late would be there by now
        written = [os.path.join(folder, name) for folder, _, names in os.walk(self.temp) for name in names]
        self.expect(not written, f"files were written: {written}")


if __name__ == "__main__":
    unittest.main()
