"""End-to-end tests of the operator's commands to a running kiosk and of its desktop repair:
`plintor --send status` (the JSON a monitor reads), `plintor --send reload-lists` (new lists
without a restart, the old ones kept when the files cannot be read) and
`plintor --restore-desktop` (what a service manager runs after the kiosk's end).

Run through tests/e2e/run_e2e.sh test_operations (CTest: e2e_operations).
"""

import json
import os
import re
import shutil
import socket
import tempfile
import time

import harness as h

DEMO_CONFIG = os.path.join(h.REPO, "demo", "config")
DEMO_PORT = "127.0.0.1:8765"

display = server = None


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    # A page whose picture lives at an address the tests deny later: the deny list must then
    # stop it below the page too (DenyAllRequests is on by default).
    server.add_page("/picture.html", '<html><body><img src="/late-denied.png" width="8" height="8">'
                                     '</body></html>')
    server.add_page("/late-denied.png", b"\x89PNG\r\n\x1a\n", content_type="image/png")


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def demo_list(name):
    """A demo list file's masks, pointed at the test server instead of the demo's port."""
    with open(os.path.join(DEMO_CONFIG, name), encoding="utf-8") as lines:
        return [line.replace(DEMO_PORT, f"127.0.0.1:{server.port}") for line in lines.read().splitlines()]


def entry_count(masks):
    """The entries a list holds for masks: each stored once, upper-cased, without one trailing "/"."""
    entries = {mask[:-1] if mask.endswith("/") else mask for mask in masks if mask}
    return len({entry.upper() for entry in entries if entry})


def config():
    return {"Button1Width": 120, "Button1URL": url("/index.html"), "Button1Caption": "Home",
            "KillExplorer": "False", "ProgressIndicator": "False"}


def write_list(kiosk, name, masks):
    with open(os.path.join(kiosk.home, name), "w", encoding="utf-8", newline="") as out:
        out.write("".join(mask + "\r\n" for mask in masks))


def make_unreadable(path):
    """The file can no longer be read by the kiosk: no read permission, or, for root (whom
    permissions do not stop), a folder in its place."""
    os.chmod(path, 0)
    if os.access(path, os.R_OK):
        os.remove(path)
        os.mkdir(path)


class ChannelTests(h.KioskTestCase):
    """The sender's answers without a kiosk that answers."""

    def run_plintor(self, *args, timeout=20, env=None):
        """The exit code, standard output and standard error (as text) of plintor with args."""
        result = h.run_tool([h.binary_path(), *args], env=env or display.env(), timeout=timeout, check=False)
        return result.returncode, result.stdout.decode(), result.stderr.decode()

    def test_status_without_a_kiosk_says_so(self):
        self.assertFalse(h.kiosk_channel_in_use(), "a kiosk of this user runs already")
        code, output, errors = self.run_plintor("--send", "status")
        self.assertEqual((code, output), (1, ""))
        self.assertIn("no kiosk is running for this user", errors)

    def test_status_from_a_kiosk_that_does_not_answer_ends_after_its_limit(self):
        runtime = tempfile.mkdtemp(prefix="plintor-e2e-runtime-")
        self.addCleanup(shutil.rmtree, runtime, True)
        env = {**display.env(), "XDG_RUNTIME_DIR": runtime}
        with socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM) as stuck:
            stuck.bind(h.channel_path(env))  # takes the channel as a hung kiosk would, and never reads
            started = time.monotonic()
            code, output, errors = self.run_plintor("--send", "status", env=env)
            waited = time.monotonic() - started
        self.assertEqual((code, output), (1, ""))
        self.assertIn("the kiosk did not answer within 5 s", errors)
        self.assertGreater(waited, 4, "gave up before its limit")

    def test_unknown_command_is_a_usage_error(self):
        code, _, errors = self.run_plintor("--send", "reload")
        self.assertEqual(code, 2)
        self.assertIn("--send reload-lists or --send screenshot FILE", errors)


class StatusTests(h.KioskTestCase):
    """`--send status` from a kiosk with the demo's lists."""

    @classmethod
    def setUpClass(cls):
        cls.whitelist, cls.blacklist = demo_list("Whitelist_Default.txt"), demo_list("Blacklist_Default.txt")
        cls.start_shared_kiosk(h.Kiosk(display, config=config(), whitelist=cls.whitelist,
                                       blacklist=cls.blacklist, name="status"), url("/index.html"))

    def status(self):
        result = self.kiosk.run_sender("--send", "status")
        output = result.stdout.decode()
        self.expect(result.returncode == 0 and output.count("\n") == 1,
                    f"--send status gave {result.returncode}, output {output!r}, "
                    f"errors {result.stderr.decode(errors='replace')!r}")
        return json.loads(output)

    def own_pss_kib(self):
        with open(f"/proc/{self.kiosk.process.pid}/smaps_rollup", encoding="ascii") as rollup:
            return int(re.search(r"^Pss:\s+(\d+) kB$", rollup.read(), re.M).group(1))

    def test_status_reports_the_running_kiosk(self):
        self.kiosk.open_page(url("/index.html"))
        status = self.status()
        expected_lists = {
            # The allow list also holds about:blank, javascript:* and the button's address.
            "allow": entry_count(self.whitelist + ["about:blank", "javascript:*", url("/index.html")]),
            "deny": entry_count(self.blacklist),
        }
        self.assertEqual(set(status), {"version", "engine", "uptime", "address", "idle", "rendererRestarts",
                                       "lastReturn", "memoryKiB", "lists"})
        self.assertEqual(status["address"], url("/index.html"))
        self.assertEqual(status["lists"], expected_lists)
        self.assertEqual((status["rendererRestarts"], status["lastReturn"]), (0, None))
        self.assertRegex(status["version"], r"^\d+\.\d+")
        self.assertRegex(status["engine"], r"^\w.* \d+\.\d+")
        self.assertTrue(0 <= status["idle"] <= status["uptime"], status)
        # The renderer and the other helpers are the kiosk's descendants, each tens of MB.
        own = self.own_pss_kib()
        self.assertGreater(status["memoryKiB"], own + 10 * 1024, f"the kiosk alone has {own} KiB")

    def test_address_with_quotes_backslashes_and_non_ascii_comes_back_whole(self):
        odd = url("/allowed.html") + '?q="caf\u00e9\\x"&t=\u65e5\u672c'
        since = self.kiosk.mark()
        self.kiosk.send_navigate(odd)
        shown = self.kiosk.wait_log(r"^DocumentComplete: .*/allowed\.html\?", 30, since).text
        self.assertEqual(self.status()["address"], shown.split(": ", 1)[1])

    def test_restore_desktop_leaves_a_running_kiosk_alone(self):
        record = os.path.join(self.kiosk.home, "plintor.state")
        marker = os.path.join(self.kiosk.root, "shell-started")
        with open(record, "w", encoding="utf-8") as out:
            out.write(shell_record(marker))
        result = self.kiosk.run_sender(f"--home={self.kiosk.home}", "--restore-desktop")
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"a kiosk is running for this user", result.stderr)
        self.assertTrue(os.path.exists(record))
        time.sleep(1)  # a started shell would have written its marker by now
        self.assertFalse(os.path.exists(marker))
        os.remove(record)


class ReloadListsTests(h.KioskTestCase):
    """`--send reload-lists`: the new lists judge navigations and a page's own requests at once;
    lists that cannot be read leave the old ones in force."""

    @classmethod
    def setUpClass(cls):
        cls.whitelist = [f"http://127.0.0.1:{server.port}/*"]
        cls.start_shared_kiosk(h.Kiosk(display, config=config(), whitelist=cls.whitelist,
                                       blacklist=[url("/blocked*")], name="reload"), url("/index.html"))

    def reload(self):
        since = self.kiosk.mark()
        result = self.kiosk.run_sender("--send", "reload-lists")
        self.expect(result.returncode == 0, f"--send reload-lists gave {result.returncode}: {result.stderr!r}")
        return self.kiosk.wait_log(r"^Lists (not )?reloaded", 20, since), since

    def expect_blocked(self, address):
        since, asked = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(address)
        self.kiosk.wait_navigation(address, allowed=False, since=since)
        self.kiosk.open_page(url("/index.html"))  # a barrier: the blocked address came before it
        self.expect(address.split(str(server.port), 1)[1] not in server.paths(asked),
                    f"the server was asked for {address} although it is denied")

    def test_new_deny_list_holds_and_an_unreadable_one_leaves_it_in_force(self):
        since, asked = self.kiosk.mark(), server.mark()
        self.kiosk.open_page(url("/picture.html"))
        server.wait_request("/late-denied.png", since=asked)
        self.kiosk.open_page(url("/allowed.html"))

        write_list(self.kiosk, "Blacklist.txt", [url("/blocked*"), url("/allowed*"), url("/late-denied*")])
        entry, _ = self.reload()
        self.assertEqual(entry.text, "Lists reloaded: 4 allowed, 3 denied")
        self.expect_blocked(url("/allowed.html"))
        since, asked = self.kiosk.mark(), server.mark()
        self.kiosk.open_page(url("/picture.html"))
        self.kiosk.wait_log(r"^Blocked requests: 1$", 10, since)
        self.assertNotIn("/late-denied.png", server.paths(asked), "the page's picture was fetched")

        make_unreadable(os.path.join(self.kiosk.home, "Blacklist.txt"))
        entry, since = self.reload()
        self.assertEqual(entry.text, "Lists not reloaded; the lists in force stay: 4 allowed, 3 denied")
        self.assertTrue(self.kiosk.find_log(r"Blacklist\.txt", since), "the log does not name the file")
        self.expect_blocked(url("/allowed.html"))


class ReloadSafetyTests(ReloadListsTests):
    """A reload never drops the deny list in force, and a long one leaves the kiosk serving."""

    @classmethod
    def setUpClass(cls):
        cls.whitelist = [f"http://127.0.0.1:{server.port}/*"]
        cls.start_shared_kiosk(h.Kiosk(display, config=config(), whitelist=cls.whitelist,
                                       blacklist=[url("/blocked*")], name="reload-safety"), url("/index.html"))

    test_new_deny_list_holds_and_an_unreadable_one_leaves_it_in_force = None

    def test_a_deny_list_gone_or_emptied_leaves_the_one_in_force(self):
        path = os.path.join(self.kiosk.home, "Blacklist.txt")
        for how, change in (("missing", lambda: os.remove(path)), ("empty", lambda: write_list(self.kiosk, "Blacklist.txt", []))):
            with self.subTest(how=how):
                change()
                entry, _ = self.reload()
                self.assertTrue(entry.text.startswith("Lists not reloaded: the deny list is missing or empty"),
                                entry.text)
                self.expect_blocked(url("/blocked.html"))
        write_list(self.kiosk, "Blacklist.txt", [url("/blocked*")])

    def test_a_long_reload_leaves_the_kiosk_answering(self):
        masks = [url("/blocked*")] + [f"http://host{n}.example/page{n}/*" for n in range(1500000)]
        write_list(self.kiosk, "Blacklist.txt", masks)
        since = self.kiosk.mark()
        self.expect(self.kiosk.run_sender("--send", "reload-lists").returncode == 0, "the reload was not sent")
        status = self.kiosk.run_sender("--send", "status", timeout=60)
        answered_before = not self.kiosk.find_log(r"^Lists (not )?reloaded", since)
        entry = self.kiosk.wait_log(r"^Lists (not )?reloaded", 120, since)
        self.assertEqual(entry.text, f"Lists reloaded: 4 allowed, {len(masks)} denied")
        self.expect(status.returncode == 0, f"--send status gave {status.returncode} while the lists were read")
        self.expect(answered_before, "the status came only after the lists were read: the reload held the kiosk")
        write_list(self.kiosk, "Blacklist.txt", [url("/blocked*")])
        self.reload()


def shell_record(marker):
    """The record a killed kiosk leaves when it had stopped a desktop shell: here a program that
    writes marker, so that its start again shows."""
    return ("Plintor desktop record 1\nshell\nargument /bin/sh\nargument -c\n"
            f"argument echo started > {marker}\nfolder /\nenvironment PATH=/usr/bin:/bin\n"
            "program /bin/sh\nend\n")


class RestoreDesktopTests(h.KioskTestCase):
    """`--restore-desktop` after a kiosk that was killed, on the display it ran on."""

    def setUp(self):
        super().setUp()
        self.home = tempfile.mkdtemp(prefix="plintor-e2e-restore-")
        self.addCleanup(shutil.rmtree, self.home, True)

    def restore(self):
        """The exit code and standard output of --restore-desktop for the test's home folder."""
        result = h.run_tool([h.binary_path(), f"--home={self.home}", "--restore-desktop"],
                            env=display.env(), timeout=30, check=False)
        self.assertEqual(result.stderr, b"")
        return result.returncode, result.stdout.decode()

    def test_starts_the_stopped_shell_again_once(self):
        record = os.path.join(self.home, "plintor.state")
        marker = os.path.join(self.home, "shell-started")
        with open(record, "w", encoding="utf-8") as out:
            out.write(shell_record(marker))

        code, output = self.restore()
        self.assertEqual(code, 0)
        self.assertRegex(output, r"^Put back: the desktop shell is started again \(\d+\)\n$")
        self.assertIsNotNone(h.poll_until(lambda: os.path.exists(marker), 10), "the shell did not start")
        self.assertFalse(os.path.exists(record), "the record outlived the repair")
        with open(os.path.join(self.home, "plintor.log"), encoding="utf-8", errors="replace") as log:
            self.assertIn("Unclean end of the last run repaired: the desktop shell is started again", log.read())

        os.remove(marker)
        self.assertEqual(self.restore(), (0, "Nothing to put back\n"))
        time.sleep(1)  # a second start would have written the marker by now
        self.assertFalse(os.path.exists(marker))
