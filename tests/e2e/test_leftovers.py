"""End-to-end tests of what downloads leave behind: a kiosk killed in the middle of a transfer,
and a visitor's session that ends, leave nothing of the visitor's documents in the temporary
folder, neither a partial file of the engine nor the last document shown."""

import os
import re
import threading
import unittest

import harness as h

PDF = b"%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj 2 0 obj<</Type/Pages/Kids[]/Count 0>>endobj\n" \
      b"trailer<</Root 1 0 R>>\n%%EOF\n"
SLOW_SIZE = 8 * 1024 * 1024     # announced; far below the kiosk's size limit
FIRST_PART = 256 * 1024          # sent at once, so that the engine writes its partial file
SLOW_SECONDS = 120               # then a byte a second, longer than any test waits

display = server = None
release = threading.Event()


def add_routes():
    server.add_page("/home.html", b"<!doctype html><title>Home</title><body style='background:#1f5fa8'>")
    server.add_attachment("/dl/report", "report.pdf", PDF)

    def slow(request):  # a PDF attachment that never completes while a test watches
        request.send_response(200)
        request.send_header("Content-Type", "application/pdf")
        request.send_header("Content-Disposition", 'attachment; filename="slow.pdf"')
        request.send_header("Content-Length", str(SLOW_SIZE))
        request.end_headers()
        try:
            request.wfile.write(b"%PDF-1.4\n" + b"%" * FIRST_PART)
            request.wfile.flush()
            for _ in range(SLOW_SECONDS):
                if release.wait(1):
                    return
                request.wfile.write(b"%")
                request.wfile.flush()
        except OSError:
            return  # the kiosk went

    server.routes["/dl/slow"] = slow


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    add_routes()


def tearDownModule():
    release.set()
    h.stop_everything()


def url(path):
    return server.url(path)


def files_below(folder):
    return sorted(os.path.relpath(os.path.join(top, name), folder)
                  for top, folders, names in os.walk(folder) for name in names + folders)


class LeftoversTest(h.KioskTestCase):

    def new_kiosk(self, name, temp, auto_return=60):
        config = {"Button1Width": 120, "Button1URL": url("/home.html"), "Button1Caption": "Home",
                  "KillExplorer": "False", "DownloadPDF": "True", "AutoReturn": str(auto_return),
                  "ReturnWarning": "0"}
        kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], blacklist=[],
                        name=name, extra_env={"TMPDIR": temp})
        return self.start_own_kiosk(kiosk, url("/home.html"))

    def fetch_report(self, kiosk, documents):
        since = kiosk.mark()
        kiosk.send_navigate(url("/dl/report"))
        shown = os.path.join(documents, "temp.pdf")
        kiosk.wait_log(rf"^Downloaded file: {re.escape(shown)}$", 30, since)
        return shown

    def test_a_kill_during_a_download_leaves_nothing_after_the_restart(self):
        temp = self.temporary_folder("leftovers-kill")
        documents = h.documents_folder(temp)
        kiosk = self.new_kiosk("killed", temp)
        self.expect(os.stat(documents).st_mode & 0o777 == 0o700,
                    f"the documents folder is not private: {oct(os.stat(documents).st_mode)}", kiosk)
        self.fetch_report(kiosk, documents)
        kiosk.send_navigate(url("/dl/slow"))
        partial = h.poll_until(lambda: [name for name in os.listdir(documents) if name.startswith("temp.tmp")],
                               30, 0.2)
        self.expect(partial, f"no partial file came in {documents}: {files_below(temp)}", kiosk)
        self.expect(files_below(temp) == sorted([os.path.basename(documents)] +
                                                [os.path.join(os.path.basename(documents), name)
                                                 for name in os.listdir(documents)]),
                    f"the transfer left files outside the documents folder: {files_below(temp)}", kiosk)

        h.kill_process_tree(kiosk.process)  # SIGKILL, the engine's processes with it
        # The engine writes beside the destination into "<destination>.wkdownload" and leaves it
        # when it is killed: that is why the destination lies in the documents folder.
        left = files_below(temp)
        self.assertIn(os.path.join(os.path.basename(documents), "temp.tmp.wkdownload"), left,
                      f"the kill left no partial file where it was expected: {left}")

        restarted = self.new_kiosk("restarted", temp)
        self.expect(files_below(temp) == [os.path.basename(documents)],
                    f"the restart left what the killed run fetched: {files_below(temp)}", restarted)
        self.fetch_report(restarted, documents)  # and the next download goes through

    def test_a_new_session_removes_the_last_visitors_documents(self):
        temp = self.temporary_folder("leftovers-session")
        documents = h.documents_folder(temp)
        kiosk = self.new_kiosk("session", temp, auto_return=1)
        since = kiosk.mark()
        shown = self.fetch_report(kiosk, documents)
        kiosk.wait_log(rf"^DocumentComplete: {re.escape('file://' + shown)}", 30, since)
        self.expect(os.path.exists(shown), f"{shown} is missing after its download", kiosk)

        since = kiosk.mark()
        kiosk.wait_log(r"^Session cleared$", 90, since)  # the idle return starts a new session
        self.expect(files_below(temp) == [os.path.basename(documents)],
                    f"the next visitor finds the last one's documents: {files_below(temp)}", kiosk)


if __name__ == "__main__":
    unittest.main()
