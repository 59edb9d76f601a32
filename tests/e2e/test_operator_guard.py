"""End-to-end tests of a hostile visitor against the operator's means: a password guesser at the
shutdown panel, another user's program holding the kiosk's name, and a page that floods or
forges the log through its own address."""

import os
import re
import signal
import subprocess
import sys
import time

import harness as h

display = server = None

PASSWORD = "4711"
FLOOD = 60  # same-document address changes of the flood page


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    server.add_page("/index.html", "<!doctype html><title>Index</title><p>Index</p>")
    long_part = "x" * 4000
    server.add_page("/flood.html", "<!doctype html><title>Flood</title><script>"
                    "let i = 0;"
                    "const t = setInterval(() => {"
                    f" const part = i + '{long_part}';"
                    " if (i % 3 == 0) history.pushState({}, '', '/flood.html?p' + part);"
                    " else if (i % 3 == 1) history.replaceState({}, '', '/flood.html?r' + part);"
                    " else location.hash = 'h' + part;"
                    f" if (++i == {FLOOD}) clearInterval(t);"
                    "}, 40);"
                    "</script><p>Flood</p>")
    server.add_page("/forge.html", "<!doctype html><title>Forge</title><script>"
                    "history.pushState({}, '', '/forge.html?\\u2028Session cleared\\u2029\\u0085\\u202e');"
                    "setTimeout(() => { location.hash = '\\u2028Session cleared\\u200f'; }, 1500);"
                    "</script><p>Forge</p>")


def tearDownModule():
    h.stop_everything()


def config(home, **settings):
    return {"Button1Width": 120, "Button1URL": server.url(home), "KillExplorer": "False", **settings}


class PasswordGuesserTests(h.KioskTestCase):
    @classmethod
    def setUpClass(cls):
        kiosk = h.Kiosk(display, config=config("/index.html", Password=PASSWORD), whitelist=["*"],
                        blacklist=[], name="guesser")
        cls.start_shared_kiosk(kiosk, server.url("/index.html"))

    def attempt(self, password):
        display.type_text(password)
        display.click(*h.shutdown_button("Exit"))

    def wrong_entries(self):
        return self.kiosk.find_log(r"^Wrong shutdown password$")

    def test_guesser_waits_longer_after_each_wrong_entry(self):
        self.open_shutdown_panel()
        started = time.monotonic()
        attempts = 0
        while len(self.wrong_entries()) < 5 and time.monotonic() - started < 20:
            self.attempt("0000")
            attempts += 1
        took = time.monotonic() - started
        wrong = len(self.wrong_entries())
        self.expect(wrong == 5, f"{wrong} wrong entries were tried in 20 s")
        # Three free ones, then a wait of 1 s and one of 2 s before the fifth.
        self.expect(took >= 3, f"five wrong entries were tried within {took:.1f} s")
        self.expect(attempts > wrong + 3, f"the guesser made only {attempts} attempts; the wait was not tested")
        print(f"  {attempts} attempts in {took:.1f} s, {wrong} tried", file=sys.stderr)

        # A wait of 4 s follows: the right password is not even tried during it.
        self.attempt(PASSWORD)
        self.expect(self.kiosk.wait_exit(2) is None, "the right password got through during the wait")
        self.expect(not self.kiosk.find_log(r"^Shutdown panel: "), "an action was taken during the wait")
        self.expect(len(self.wrong_entries()) == 5, "an attempt during the wait was tried")

        time.sleep(4)
        since = self.kiosk.mark()
        self.attempt(PASSWORD)
        self.kiosk.wait_log(r"^Shutdown panel: Exit$", 10, since)
        code = self.kiosk.wait_exit(15)
        self.expect(code == 0, f"the right password and Exit after the wait ended the kiosk with {code}")


class SquatterTests(h.KioskTestCase):
    """A process of user nobody holds the kiosk's single-instance name."""

    SQUATTER = ("import socket, sys\n"
                "s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)\n"
                "s.bind('\\0' + sys.argv[1])\n"
                "print('bound', flush=True)\n"
                "while True:\n"
                "    data, sender = s.recvfrom(65536)\n"
                "    print('got', data[:60], flush=True)\n"
                "    if sender: s.sendto(b'PLINTOR/1 1283 0 0 2\\n{}', sender)\n")

    def start_squatter(self):
        if os.getuid() != 0:
            self.skipTest("only root can run a program as another user")
        self.assertFalse(h.kiosk_channel_in_use(), "a kiosk of this user runs already")
        squatter = subprocess.Popen(
            ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", sys.executable, "-c",
             self.SQUATTER, h.channel.channel_name().lstrip("\0")],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
        self.addCleanup(h.kill_process_tree, squatter)
        self.assertEqual(squatter.stdout.readline().strip(), b"bound")
        return squatter

    def test_kiosk_does_not_start_behind_another_users_name_and_sends_nothing_to_it(self):
        squatter = self.start_squatter()
        kiosk = h.Kiosk(display, config=config("/index.html"), whitelist=["*"], blacklist=[], name="squatted")
        self.addCleanup(kiosk.stop)
        kiosk.start(alone=False)
        code = kiosk.wait_exit(30)
        self.expect(code == 1, f"the kiosk behind another user's name ended with {code}, not 1", kiosk)
        kiosk.wait_log(r"^Another program, not a kiosk of this user, holds the name Plintor0; "
                       r"this kiosk does not start$", 5)

        for words in (["navigate", server.url("/index.html")], ["quit"], ["status"]):
            with self.subTest(send=words[0]):
                result = kiosk.run_sender("--send", *words)
                self.expect(result.returncode != 0, f"--send {words[0]} succeeded", kiosk)
                self.expect(b"another program holds the name Plintor0" in result.stderr,
                            f"--send {words[0]} did not say why: {result.stderr!r}", kiosk)
        h.kill_process_tree(squatter)
        heard = squatter.stdout.read()
        squatter.stdout.close()
        self.expect(b"got" not in heard, f"the squatter received messages: {heard!r}", kiosk)


class ChannelAfterAKillTests(h.KioskTestCase):
    def test_a_killed_kiosks_channel_file_is_no_obstacle(self):
        kiosk = h.Kiosk(display, config=config("/index.html"), whitelist=["*"], blacklist=[], name="killed")
        self.start_own_kiosk(kiosk, server.url("/index.html"))
        path = h.channel_path(kiosk.env())
        self.expect(oct(os.stat(path).st_mode & 0o777) == oct(0o600), "the channel file is not the user's alone", kiosk)
        os.kill(kiosk.process.pid, signal.SIGKILL)
        kiosk.process.wait(10)
        self.expect(os.path.exists(path), "the killed kiosk left no channel file: the test shows nothing", kiosk)
        self.expect(h.poll_until(lambda: not h.kiosk_channel_in_use(), 10) is not None,
                    "the killed kiosk's name stayed taken", kiosk)
        since = kiosk.mark()
        kiosk.start()
        kiosk.wait_loaded(server.url("/index.html"), 60, since)
        kiosk.open_page(server.url("/index.html?after-the-kill"))


class PageAddressTests(h.KioskTestCase):
    """Pages that change their own address without a load."""

    def start_kiosk(self, page):
        kiosk = h.Kiosk(display, config=config(page), whitelist=["*"], blacklist=[], name=page.strip("/.html"))
        return self.start_own_kiosk(kiosk, server.url(page))

    def test_address_flood_keeps_the_log(self):
        kiosk = self.start_kiosk("/flood.html")
        started = kiosk.wait_log(r"^Start, ")
        last = kiosk.wait_log(r"^AddressChange: \(\d+ more address changes?\)$", 10)
        # The flood lasts 2.4 s; its last count comes a second after it.
        time.sleep(3)
        entries = [e for e in kiosk.read_log()
                   if e.text.startswith("AddressChange: ") or e.text.startswith("BeforeNavigate: " + server.url("/flood.html?"))]
        counted = sum(int(m.group(1)) for m in (re.match(r"^AddressChange: \((\d+) more", e.text) for e in entries) if m)
        single = [e for e in entries if not re.match(r"^AddressChange: \(", e.text)]
        self.expect(len(entries) <= 6, f"{len(entries)} entries for a flood of 2.4 s:\n" +
                    "\n".join(e.text[:80] for e in entries), kiosk)
        self.expect(len(single) + counted == FLOOD,
                    f"{len(single)} logged and {counted} counted, not the {FLOOD} changes", kiosk)
        self.expect(kiosk.read_log()[started.index].text.startswith("Start, "), "the start entry is gone", kiosk)
        self.expect(last is not None and os.path.getsize(kiosk.log_path) < 40000,
                    f"the log grew to {os.path.getsize(kiosk.log_path)} bytes", kiosk)

    def test_line_separators_in_an_address_forge_no_entry(self):
        kiosk = self.start_kiosk("/forge.html")
        kiosk.wait_log(r"^AddressChange: ", 10)
        kiosk.wait_log(r"^BeforeNavigate: .*#", 10)
        time.sleep(1.5)
        with open(kiosk.log_path, "rb") as log:
            raw = log.read()
        for character in ("\u2028", "\u2029", "\u0085", "\u202e", "\u200f"):
            self.expect(character.encode() not in raw, f"the log holds a raw U+{ord(character):04X}", kiosk)
        lines = raw.decode().replace("\r\n", "\n").splitlines()
        self.expect("Session cleared" not in [line.strip() for line in lines],
                    "a page wrote a line of its own", kiosk)
