"""End-to-end tests of the kiosk under a service manager: the notifications systemd reads
(READY, STATUS, WATCHDOG from the user-interface loop, STOPPING) on a socket of the test's own
named by NOTIFY_SOCKET, and the structured journal entries on a socket of the test's own in
journald's place, which only the private mount namespace of run_e2e.sh lets the test take.

Run through tests/e2e/run_e2e.sh test_service (CTest: e2e_service).
"""

import os
import select
import signal
import socket
import struct
import subprocess
import sys
import time
import unittest

import harness as h

JOURNAL_FOLDER = "/run/systemd/journal"
JOURNAL_SOCKET = os.path.join(JOURNAL_FOLDER, "socket")

display = server = journal = journal_mount = None


def setUpModule():
    global display, server, journal, journal_mount
    display = h.XDisplay().start()
    server = h.WebServer().start()
    server.add_page("/home.html", "<!doctype html><title>Home</title><body style='background:#2e6d9d'>")
    server.add_page("/other.html", "<!doctype html><title>Other</title><body style='background:#9d2e4f'>")
    # A page that changes its address about a thousand times a second for two and a half seconds.
    server.add_page("/churn.html", "<!doctype html><title>Churn</title><script>"
                    "let n = 0; const t = setInterval(() => { for (let i = 0; i < 10; i++) "
                    "history.replaceState(null, '', '?n=' + n++); if (n >= 2500) clearInterval(t); }, 10);"
                    "</script>")
    # journald's socket is at a fixed place: a folder of the test's own goes over its parent.
    if os.geteuid() == 0 and h.in_private_namespace("mnt"):
        journal_mount = "/run/systemd" if os.path.isdir("/run/systemd") else None
        if journal_mount is not None:
            h.run_tool(["mount", "-t", "tmpfs", "-o", "mode=755", "tmpfs", journal_mount])
            os.makedirs(JOURNAL_FOLDER)
            journal = Datagrams(JOURNAL_SOCKET)


def tearDownModule():
    h.stop_everything()
    if journal is not None:
        journal.close()
    if journal_mount is not None:
        subprocess.run(["umount", journal_mount], check=False, timeout=10)


def url(path):
    return server.url(path)


def config():
    return {"Button1Width": 120, "Button1URL": url("/home.html"), "Button1Caption": "Home",
            "KillExplorer": "False", "ProgressIndicator": "False"}


def whitelist():
    return [f"http://127.0.0.1:{server.port}/*", f"http://*@127.0.0.1:{server.port}/*"]


class Datagrams:
    """A datagram socket of the test's own, bound at path, and what came on it."""

    def __init__(self, path):
        self.path = path
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        self.socket.bind(path)
        self.received = []

    def close(self):
        self.socket.close()
        try:
            os.unlink(self.path)
        except OSError:
            pass

    def drain(self, seconds=0.0):
        """Reads what comes within seconds (what waits already, with 0); returns it."""
        came = []
        deadline = time.monotonic() + seconds
        while True:
            ready, _, _ = select.select([self.socket], [], [], max(0.0, deadline - time.monotonic()))
            if not ready:
                break
            came.append(self.socket.recv(1 << 20))
        self.received += came
        return came

    def wait_for(self, check, timeout, what, kiosk):
        """The first datagram from now on for which check holds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for datagram in self.drain(min(0.5, max(0.0, deadline - time.monotonic()))):
                if check(datagram):
                    return datagram
        kiosk.fail(f"no {what} within {timeout} s; came: {self.received[-8:]}")


def notification(datagram):
    """The NAME=value lines of a notification, as a dict."""
    return dict(line.split("=", 1) for line in datagram.decode().split("\n") if "=" in line)


def journal_fields(datagram):
    """The fields of one entry in journald's native protocol: NAME=value lines, or NAME, a new
    line, the value's length (64 bits, little-endian), the value and a new line."""
    fields, at = {}, 0
    while at < len(datagram):
        end = datagram.index(b"\n", at)
        line = datagram[at:end]
        if b"=" in line:
            name, value = line.split(b"=", 1)
            at = end + 1
        else:
            name = line
            (size,) = struct.unpack_from("<Q", datagram, end + 1)
            value = datagram[end + 9:end + 9 + size]
            at = end + 9 + size + 1
        fields[name.decode()] = value.decode()
    return fields


class NotifyTests(h.KioskTestCase):
    def notify_socket(self):
        """The service manager's socket, in a folder of the test's own."""
        notify = Datagrams(os.path.join(self.temporary_folder("notify"), "notify"))
        self.addCleanup(notify.close)
        return notify

    def test_ready_status_watchdog_and_stop(self):
        notify = self.notify_socket()
        # No WATCHDOG_PID: the kiosk's process id is not known before its start, and without it
        # the watchdog is meant for whichever process reads it. A sign of life every second.
        kiosk = h.Kiosk(display, config=config(), whitelist=whitelist(), name="notify",
                        extra_env={"NOTIFY_SOCKET": notify.path, "WATCHDOG_USEC": "2000000",
                                   "WATCHDOG_PID": None})
        self.addCleanup(kiosk.stop)
        kiosk.start()

        ready = notify.wait_for(lambda d: notification(d).get("READY") == "1", 40, "READY=1", kiosk)
        kiosk.wait_loaded(url("/home.html"), timeout=5)
        self.expect(notification(ready).get("STATUS", "").startswith(f"Showing {url('/home.html')}, idle "),
                    f"READY came without the home page's status: {ready!r}", kiosk)
        notify.drain(4.5)
        pings = [d for d in notify.received if notification(d).get("WATCHDOG") == "1"]
        self.expect(len(pings) >= 4, f"{len(pings)} signs of life in the first seconds: {notify.received}", kiosk)

        kiosk.send_navigate(url("/other.html"))
        notify.wait_for(lambda d: notification(d).get("STATUS", "").startswith(f"Showing {url('/other.html')},"),
                        5, "STATUS with the new address", kiosk)
        # However fast a page changes its address, the manager hears of it once a second.
        since = len(notify.received)
        kiosk.send_navigate(url("/churn.html"))
        notify.wait_for(lambda d: "?n=" in notification(d).get("STATUS", ""), 5, "STATUS of the churning page", kiosk)
        notify.drain(3)
        statuses = [d for d in notify.received[since:] if "?n=" in notification(d).get("STATUS", "")]
        self.expect(2 <= len(statuses) <= 5, f"{len(statuses)} statuses in about 3 s: {statuses}", kiosk)

        secret = url("/home.html").replace("http://", "http://anna:secret@")
        kiosk.send_navigate(secret)
        status = notify.wait_for(lambda d: "anna@" in notification(d).get("STATUS", ""), 5,
                                 "STATUS with the address of a user", kiosk)
        self.expect("secret" not in status.decode(), f"the status shows a password: {status!r}", kiosk)

        # A loop that does not run sends nothing; once it runs again it goes on.
        os.kill(kiosk.process.pid, signal.SIGSTOP)
        try:
            notify.drain(0.3)
            stopped = notify.drain(3)
        finally:
            os.kill(kiosk.process.pid, signal.SIGCONT)
        self.expect(not stopped, f"a stopped kiosk sent {stopped}", kiosk)
        notify.wait_for(lambda d: notification(d).get("WATCHDOG") == "1", 5, "WATCHDOG=1 after SIGCONT", kiosk)

        kiosk.send_quit()
        self.expect(kiosk.wait_exit(30) == 0, "the kiosk did not end after --send quit", kiosk)
        notify.drain(0.5)
        self.expect(notification(notify.received[-1]).get("STOPPING") == "1",
                    f"the last notification was not STOPPING=1: {notify.received[-3:]}", kiosk)
        self.expect(journal is None or not journal.drain(0),
                    "the journal got entries although standard error is not the journal", kiosk)


    def test_ready_at_the_latest_after_its_limit_when_the_home_page_never_comes(self):
        notify = self.notify_socket()
        # A server that takes connections and never answers: the engine waits for it.
        silent = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.addCleanup(silent.close)
        silent.bind(("127.0.0.1", 0))
        silent.listen(8)
        home = f"http://127.0.0.1:{silent.getsockname()[1]}/home.html"
        kiosk = h.Kiosk(display, config={**config(), "Button1URL": home}, whitelist=[home],
                        name="silent-home", extra_env={"NOTIFY_SOCKET": notify.path})
        self.addCleanup(kiosk.stop)
        started = time.monotonic()
        kiosk.start()
        ready = notify.wait_for(lambda d: notification(d).get("READY") == "1", 60, "READY=1", kiosk)
        waited = time.monotonic() - started
        self.expect(notification(ready).get("STATUS", "").startswith("Home page not loaded within 45 s; Showing"),
                    f"READY after {waited:.0f} s with {ready!r}", kiosk)
        self.expect(40 < waited, f"READY after {waited:.0f} s, before the home page's limit", kiosk)


class JournalTests(h.KioskTestCase):
    def setUp(self):
        if journal is None:
            self.skipTest("needs run_e2e.sh's private mount namespace to take journald's socket")

    def test_every_log_entry_is_also_a_structured_journal_entry(self):
        journal.drain(0)
        journal.received.clear()
        kiosk = h.Kiosk(display, config=config(), whitelist=whitelist(), name="journal")
        self.addCleanup(kiosk.stop)
        # The journal is the kiosk's standard error: the file the harness gives it as such.
        open(kiosk.output_path, "ab").close()
        stat = os.stat(kiosk.output_path)
        kiosk.extra_env["JOURNAL_STREAM"] = f"{stat.st_dev}:{stat.st_ino}"
        kiosk.start(wait_home=url("/home.html"))
        kiosk.send_navigate("http://denied.test/page")
        kiosk.wait_navigation("http://denied.test/page", allowed=False)
        time.sleep(0.5)
        entries = [journal_fields(d) for d in journal.drain(1)]
        journal.received.clear()

        messages = [entry["MESSAGE"] for entry in entries]
        logged = [entry.text for entry in kiosk.read_log() if entry.text]  # not the empty lines
        self.expect(messages == logged, f"the journal's messages differ from the log's entries:\n"
                                        f"  journal: {messages}\n  log: {logged}", kiosk)
        by_text = {entry["MESSAGE"]: entry for entry in entries}
        print(f"  journal entry: {by_text.get('BeforeNavigate: http://denied.test/page (False)')}",
              file=sys.stderr)
        expected = {
            f"BeforeNavigate: {url('/home.html')} (True)": {
                "PLINTOR_EVENT": "BeforeNavigate", "PLINTOR_URL": url("/home.html"), "PLINTOR_ALLOWED": "True"},
            "BeforeNavigate: http://denied.test/page (False)": {
                "PLINTOR_EVENT": "BeforeNavigate", "PLINTOR_URL": "http://denied.test/page",
                "PLINTOR_ALLOWED": "False"},
            f"DocumentComplete: {url('/home.html')}": {
                "PLINTOR_EVENT": "DocumentComplete", "PLINTOR_URL": url("/home.html")},
        }
        for text, fields in expected.items():
            entry = by_text.get(text)
            self.expect(entry is not None and all(entry.get(k) == v for k, v in fields.items())
                        and entry.get("SYSLOG_IDENTIFIER") == "plintor",
                        f"journal entry for {text!r}: {entry}", kiosk)
