"""End-to-end tests of the desktop lockdown: the key combinations the kiosk claims on its
display, the windows and the shell of other programs, the return to the home page after the
idle time, and what it asks of logind (a stand-in on a private system bus) for the machine and
the session. The real kiosk, X server, window manager and desktop programs throughout.

Run through tests/e2e/run_e2e.sh, like test_kiosk.py. Each group starts its own kiosk, and only
one kiosk runs at a time (the single-instance channel). A group whose kiosk the others would
disturb (a display without a window manager, a desktop panel, a program ended) has a display of
its own.
"""

import contextlib
import datetime
import os
import re
import signal
import time
import unittest
import urllib.parse

import harness as h

server = display = None

PASSWORD = "7395"  # the default one: these configurations have no Password key
TINT2 = ["tint2", "-c", "/etc/xdg/tint2/tint2rc"]  # the desktop's panel, a dock window
SCREENSAVER = (0xD4, 0x14, 0x9C)  # the colour of screensaver.html
BLACK = (0, 0, 0)
PAGE_SPOT = (700, 500)  # empty on every test page and clear of every panel
LAST_KEY = "z"  # a key nothing claims, pressed last to show that the keys before it were handled
HOME_LINK, LINK_BLUE = (220, 60), (0x1F, 0x5F, 0xA8)  # the first link box of index.html
KEYS_BLOCK, KEYS_BROWN = (320, 270), (0x8A, 0x5A, 0x00)  # the block of keys.html

# Key presses that are no key of their own, only the modifiers of a combination.
MODIFIER_KEYS = {"Shift_L", "Shift_R", "Control_L", "Control_R", "Alt_L", "Alt_R", "Meta_L", "Meta_R",
                 "Shift", "Control", "Alt", "Meta"}


def setUpModule():
    global server, display
    server = h.WebServer().start()
    display = h.XDisplay().start()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def lockdown_config(**extra):
    # KillExplorer is on by default; only the shell's own tests want it.
    config = {"Button1Width": 120, "Button1URL": url("/index.html"), "Button1Caption": "Home",
              "KillExplorer": "False", "ProgressIndicator": "False"}
    config.update({key: str(value) for key, value in extra.items()})
    return config


def new_kiosk(on, name, config=None, extra_env=None):
    return h.Kiosk(on, config=config or lockdown_config(), whitelist=[f"http://127.0.0.1:{server.port}/*"],
                   name=name, extra_env=extra_env)


def home_shown(kiosk):
    """Waits until the kiosk's home page is on the screen, not only loaded: the first pictures
    of a test compare against it."""
    kiosk.wait_colour(HOME_LINK, LINK_BLUE, "the home page was loaded but is not shown")
    return kiosk


def keys_seen_by_page(since):
    """The keys (event.key) the keys.html page reported since a server mark, modifiers left out."""
    names = []
    for path in server.paths(since):
        parts = urllib.parse.urlsplit(path)
        if parts.path == "/key":
            name = urllib.parse.parse_qs(parts.query).get("name", [""])[0]
            if name not in MODIFIER_KEYS:
                names.append(name)
    return names


def xev_key_presses(output):
    """The keysym names of the KeyPress events in xev's output, in order."""
    return [match.group(1) for block in output.split("\n\n") if block.startswith("KeyPress event")
            for match in [re.search(r"\(keysym 0x[0-9a-f]+, ([^)]+)\)", block)] if match]


class LockdownCase(h.KioskTestCase):
    screen = None  # the display of the group's kiosk

    @classmethod
    def start_group_kiosk(cls, name, config=None, extra_env=None):
        kiosk = new_kiosk(cls.screen, name, config, extra_env)
        home_shown(cls.start_shared_kiosk(kiosk, url("/index.html")))

    def start_test_kiosk(self, name, config=None, extra_env=None, on=None, cleanup=None):
        """A kiosk for one test, or for one case of it when cleanup ends the case."""
        kiosk = new_kiosk(on or self.screen, name, config, extra_env)
        return home_shown(self.start_own_kiosk(kiosk, url("/index.html"), cleanup))

    def exit_through_the_panel(self, kiosk):
        self.open_shutdown_panel(kiosk)
        kiosk.display.type_text(PASSWORD)
        kiosk.display.click(*h.shutdown_button("Exit"))
        code = kiosk.wait_exit(15)
        self.expect(code == 0, f"the password and Exit did not end the kiosk with 0 (code {code})", kiosk)

    def press_keys_on_page(self, kiosk, *combos):
        """Opens keys.html, gives it the focus and presses the combinations, then a plain letter
        as the last one; returns the keys the page reported, once the letter arrived."""
        kiosk.open_page(url("/keys.html"))
        kiosk.wait_colour(KEYS_BLOCK, KEYS_BROWN, "keys.html was loaded but is not shown")
        kiosk.display.click(*h.page_to_screen(*PAGE_SPOT))  # the page takes the keyboard focus
        since = server.mark()
        kiosk.display.key(*combos, LAST_KEY)
        arrived = h.poll_until(lambda: LAST_KEY in keys_seen_by_page(since), 10)
        if not arrived:
            focus = h.run_tool(["xdotool", "getwindowfocus"], env=kiosk.display.env(), check=False)
            windows = kiosk.display.find_windows("--pid", kiosk.process.pid)
            kiosk.fail(f"{LAST_KEY} did not reach the page; it saw {keys_seen_by_page(since)}; the keyboard "
                       f"focus is on window {focus.stdout.decode().strip() or '?'}, the kiosk's are {windows}")
        # Nothing marks the last report: one of a key pressed before the letter but reported
        # after it comes within this time.
        time.sleep(0.5)
        return keys_seen_by_page(since)


# ---------------------------------------------------------------------------------------------
# Key lock


class KeyLockTests(LockdownCase):
    """The kiosk starts first on a bare display and a window manager after it. One without key
    bindings: with its defaults (Alt+Tab, Alt+F4 and more) it would hold whatever the kiosk
    failed to take, and a combination missing from the kiosk's table would go unnoticed."""

    # (what, keysym, modifiers): combinations of the table, each in every lock state.
    LOCKED = [
        ("Alt+Tab", "Tab", ("alt",)),
        ("Alt+Shift+Tab", "Tab", ("alt", "shift")),
        ("Control+Escape", "Escape", ("control",)),
        ("Alt+Escape", "Escape", ("alt",)),
        ("Alt+Enter", "Return", ("alt",)),
        ("Super_L", "Super_L", ()),
        ("Control+Super_R", "Super_R", ("control",)),
        ("F1", "F1", ()),
        ("Control+Alt+F3", "F3", ("control", "alt")),
        ("F4", "F4", ()),
        ("Alt+F4", "F4", ("alt",)),
        ("F6", "F6", ()),
        ("F11", "F11", ()),
        ("Shift+F12", "F12", ("shift",)),
        ("Control+A", "a", ("control",)),
        ("Control+L", "l", ("control",)),
        ("Control+N", "n", ("control",)),
        ("Control+O", "o", ("control",)),
        ("Control+P", "p", ("control",)),
        ("Control+S", "s", ("control",)),
        ("Control+Left", "Left", ("control",)),
        ("Control+Down", "Down", ("control",)),
    ]
    # Combinations the kiosk must leave to the focused window: the page's reload key, and the
    # keys of its own shutdown panel.
    FREE = [
        ("F5", "F5", ()),
        ("Escape", "Escape", ()),
        ("Control+Shift+F4", "F4", ("control", "shift")),
        ("Alt+Left", "Left", ("alt",)),
    ]
    # (xdotool combination, the key xev must never see)
    SENT = [
        ("alt+Tab", "Tab"), ("ctrl+Escape", "Escape"), ("Super_L", "Super_L"), ("Super_R", "Super_R"),
        ("F1", "F1"), ("F4", "F4"), ("alt+F4", "F4"), ("F11", "F11"), ("F12", "F12"), ("ctrl+p", "p"),
        ("ctrl+Left", "Left"), ("alt+Return", "Return"),
    ]

    @classmethod
    def setUpClass(cls):
        cls.screen = h.XDisplay(window_manager=False).start()
        cls.addClassCleanup(cls.screen.stop)
        cls.start_group_kiosk("keys")
        cls.screen.start_window_manager(key_bindings=False)

    def modifier_bits(self, grabber, names):
        bits = {"shift": grabber.SHIFT, "control": grabber.CONTROL, "alt": grabber.alt, "super": grabber.super}
        return sum(bits[name] for name in names)

    def test_other_programs_cannot_take_the_locked_combinations(self):
        self.expect(not self.kiosk.find_log(r"(?m)^Desktop lockdown incomplete"),
                    "the kiosk, first on the display, reports combinations held by another program")
        grabber = h.KeyGrabber(self.screen)
        self.addCleanup(grabber.stop)
        for table, locked in ((self.LOCKED, True), (self.FREE, False)):
            for what, keysym, modifiers in table:
                with self.subTest(combination=what):
                    for lock in grabber.lock_states():
                        error = grabber.grab(keysym, self.modifier_bits(grabber, modifiers) | lock)
                        grabber.release()
                        if locked:
                            self.expect(error == grabber.BAD_ACCESS,
                                        f"another client could take {what} (lock bits {lock:#x}): "
                                        f"X answered {error}, not BadAccess")
                        else:
                            self.expect(error == 0, f"another client could not take {what} (lock bits "
                                                    f"{lock:#x}): X answered {error}")

    def test_locked_combinations_never_reach_another_window(self):
        xev = h.XClient(self.screen, ["xev", "-event", "keyboard", "-name", "plintor-e2e-xev"]).start()
        self.addCleanup(xev.stop)
        found = h.poll_until(lambda: self.screen.find_windows("--name", "^plintor-e2e-xev$"), 15, 0.2)
        self.expect(found, f"xev showed no window: {xev.output()[-500:]}")
        window = found[0]
        for combo, key in self.SENT:
            with self.subTest(combination=combo):
                # F5 before and after the combination, in one go: when both reach xev, xev had
                # the focus throughout. The kiosk takes the focus back as soon as it notices it
                # has lost it, so the keys follow at once, and a round it cut short is repeated.
                for _ in range(20):
                    before = len(xev_key_presses(xev.output()))
                    self.screen.xdotool("windowfocus", "--sync", window, "key", "--delay", "0", "F5", combo, "F5")
                    h.poll_until(lambda: xev_key_presses(xev.output())[before:].count("F5") >= 2, 1, 0.05)
                    seen = xev_key_presses(xev.output())[before:]
                    if seen.count("F5") >= 2:
                        break
                else:
                    self.kiosk.fail(f"xev never kept the focus for F5, {combo}, F5 in twenty rounds")
                got = [name for name in seen if name not in MODIFIER_KEYS and name != "F5"]
                self.expect(not got, f"{key} of {combo} reached another program's window: xev saw {seen}")

    def test_page_and_shutdown_panel_get_the_free_keys(self):
        seen = self.press_keys_on_page(self.kiosk, "F1", "F11", "ctrl+p", "ctrl+a", "alt+Tab")
        self.expect(seen == [LAST_KEY], f"the page saw {seen}, not {LAST_KEY} alone")
        page, _ = self.open_shutdown_panel()
        self.screen.key("Escape")
        self.wait_screen(page, h.PAGE_AREA, 5, "Escape did not close the shutdown panel")


class HeldCombinationTests(LockdownCase):
    """Another program holds F11 and Control+P before the kiosk starts on a bare display."""

    @classmethod
    def setUpClass(cls):
        cls.screen = h.XDisplay(window_manager=False).start()
        cls.addClassCleanup(cls.screen.stop)
        cls.grabber = h.KeyGrabber(cls.screen)
        cls.addClassCleanup(cls.grabber.stop)
        for keysym, modifiers in (("F11", 0), ("p", cls.grabber.CONTROL)):
            if cls.grabber.grab(keysym, modifiers) != 0:
                raise h.HarnessError(f"the test could not take {keysym} itself")
        cls.start_group_kiosk("held")

    def test_log_names_every_held_combination_after_the_start(self):
        # Found by its line, so that an entry broken by something written just before it is
        # told apart from a wrong list of combinations.
        entry = self.kiosk.wait_log(r"(?m)^Desktop lockdown incomplete", 10)
        expected = "Desktop lockdown incomplete: key combinations held by another program: Control+p, F11"
        line = entry.text.split("\n")[-1]
        self.expect(line == expected, f"the entry names other combinations: {line!r}, not {expected!r}")
        texts = [e.text for e in self.kiosk.read_log()]
        self.expect(entry.index >= 2 and texts[0].startswith("Start, Plintor ") and texts[1].startswith("Monitor: "),
                    f"the entry does not follow the start entries: {texts[:entry.index + 1]}")
        self.expect(len(self.kiosk.find_log(r"(?m)^Desktop lockdown incomplete")) == 1,
                    "the shortfall is logged twice")
        self.expect(entry.text == expected,
                    f"the entry is not one entry of its own: stamp {entry.stamp!r}, text {entry.text!r}")

    def test_combinations_it_could_not_take_still_never_reach_the_page(self):
        # Let go: from now on they go to the focused window, the kiosk's, whose own key lock
        # must swallow them.
        self.grabber.release()
        seen = self.press_keys_on_page(self.kiosk, "F11", "ctrl+p")
        self.expect(seen == [LAST_KEY], f"the page saw {seen}, not {LAST_KEY} alone")


# ---------------------------------------------------------------------------------------------
# Other programs' windows and the shell


class ForeignWindowTests(LockdownCase):
    @classmethod
    def setUpClass(cls):
        cls.screen = h.XDisplay().start()
        cls.addClassCleanup(cls.screen.stop)
        cls.panel = h.XClient(cls.screen, TINT2).start()
        cls.addClassCleanup(cls.panel.stop)
        if not h.poll_until(lambda: cls.screen.find_windows("--class", "^tint2$"), 15, 0.2):
            raise h.HarnessError(f"tint2 showed no panel: {cls.panel.output()[-500:]}")
        cls.start_group_kiosk("foreign", lockdown_config(AutoCloseAll=True))

    def test_other_programs_are_ended_but_the_desktop_panel_stays(self):
        cases = [("xterm", ["xterm"]), ("xeyes", ["xeyes"]), ("iconified xterm", ["xterm", "-iconic"])]
        clients = []
        for name, args in cases:
            client = h.XClient(self.screen, args, name=name.replace(" ", "-")).start()
            self.addCleanup(client.stop)
            clients.append((name, client))
        deadline = time.monotonic() + 15  # one tick is 5 s
        for name, client in clients:
            with self.subTest(window=name):
                code = client.wait_exit(max(0.1, deadline - time.monotonic()))
                self.expect(code is not None, f"{name} still runs 15 s after it started")
                # A program that failed by itself would end with a code of its own.
                self.expect(code < 0, f"{name} ended with {code}, by itself rather than by a signal: "
                                      f"{client.output()[-300:]}")
        self.expect(self.panel.alive(), f"the desktop's panel ended (code {self.panel.process.returncode})")
        self.expect(self.screen.find_windows("--class", "^tint2$"), "the desktop's panel window is gone")
        self.expect(self.screen.find_windows("--pid", self.kiosk.process.pid), "the kiosk's window is gone")


class ShellTests(LockdownCase):
    @classmethod
    def setUpClass(cls):
        cls.screen = h.XDisplay().start()
        cls.addClassCleanup(cls.screen.stop)

    def test_shell_stopped_while_the_kiosk_runs_and_started_again_at_its_exit(self):
        for kill in (True, False):
            # A clean-up per case: its kiosk is gone before the next one starts.
            with self.subTest(KillExplorer=kill), contextlib.ExitStack() as case:
                self.check_shell(kill, case.callback)

    def test_a_killed_kiosk_has_the_shell_started_again_by_the_next_one(self):
        panel = h.XClient(self.screen, TINT2).start()
        self.addCleanup(panel.stop)
        if not h.poll_until(lambda: self.screen.find_windows("--class", "^tint2$"), 15, 0.2):
            raise h.HarnessError(f"tint2 showed no panel: {panel.output()[-500:]}")
        kiosk = self.start_test_kiosk("killed", lockdown_config(KillExplorer=True))
        self.expect(panel.wait_exit(10) is not None, "the kiosk did not end the desktop's panel", kiosk)
        record = os.path.join(kiosk.home, "plintor.state")
        self.expect(os.path.exists(record), "the kiosk keeps no record of the stopped shell", kiosk)
        h.kill_process_tree(kiosk.process)
        time.sleep(2)  # nothing to wait for: a panel started again would be back within this time
        self.expect(not panel.processes(), "the panel came back without a kiosk", kiosk)

        since = kiosk.mark()
        # The same home folder, as a service manager would start it again.
        home_shown(kiosk.start(wait_home=url("/index.html")))
        entry = kiosk.wait_log(r"^Unclean end of the last run repaired: ", 10, since)
        result = re.search(r"the desktop shell is started again \((\d+)\)", entry.text)
        self.expect(result and int(result.group(1)) > 32, f"the shell was not started again: {entry.text}", kiosk)
        kiosk.wait_log(r"^Kill explorer$", 10, since)  # this run stops it again, and remembers it
        self.exit_through_the_panel(kiosk)
        self.expect(h.poll_until(lambda: panel.processes(), 10), "the panel is not back after a clean exit", kiosk)
        self.expect(not os.path.exists(record), "the record outlived a clean exit", kiosk)
        panel.stop()  # the next test starts its own panel on this display
        h.poll_until(lambda: not self.screen.find_windows("--class", "^tint2$"), 10, 0.2)

    def check_shell(self, kill, cleanup):
        panel = h.XClient(self.screen, TINT2).start()
        cleanup(panel.stop)
        if not h.poll_until(lambda: self.screen.find_windows("--class", "^tint2$"), 15, 0.2):
            raise h.HarnessError(f"tint2 showed no panel: {panel.output()[-500:]}")
        kiosk = self.start_test_kiosk(f"shell-{kill}", lockdown_config(KillExplorer=kill), cleanup=cleanup)
        if kill:
            code = panel.wait_exit(10)
            self.expect(code is not None, "the kiosk did not end the desktop's panel", kiosk)
            kiosk.wait_log(r"^Kill explorer$", 5)
        # Two more housekeeping ticks of 5 s, with nothing to wait for: with the shell gone there
        # is nothing more to end.
        time.sleep(11)
        stops = kiosk.find_log(r"^Kill explorer$")
        self.expect(len(stops) == (1 if kill else 0), f"'Kill explorer' logged {len(stops)} times", kiosk)
        if not kill:
            self.expect(panel.alive(), "the panel ended although KillExplorer is False", kiosk)

        self.exit_through_the_panel(kiosk)
        runs = kiosk.find_log(r"^Run explorer")
        if not kill:
            self.expect(not runs, f"the kiosk started the shell at its exit: {runs}", kiosk)
            self.expect(panel.processes() == [panel.pid], f"the panel was started again: {panel.processes()}",
                        kiosk)
            return
        self.expect(len(runs) == 1, f"'Run explorer' logged {len(runs)} times", kiosk)
        result = re.fullmatch(r"Run explorer \((-?\d+)\)", runs[0].text)
        self.expect(result and int(result.group(1)) > 32, f"the shell did not start again: {runs[0].text!r}",
                    kiosk)
        pid = int(result.group(1))  # above 32 it is the process started
        self.expect(h.poll_until(lambda: pid in panel.processes(), 10),
                    f"process {pid} is not the panel started again (copies of it: {panel.processes()})", kiosk)
        self.expect(h.poll_until(lambda: self.screen.find_windows("--class", "^tint2$"), 15, 0.2),
                    "the panel started again shows no window", kiosk)


# ---------------------------------------------------------------------------------------------
# Return to the home page


class IdleReturnTests(LockdownCase):
    KEYBOARD_BUTTON = (h.SCREEN_WIDTH - 7 - 97 // 2, 32)  # top right of the navigation panel
    WHEELCHAIR_BAR = 63
    WHEELCHAIR_BUTTON = (h.SCREEN_WIDTH - 7 - 81 // 2, h.SCREEN_HEIGHT - WHEELCHAIR_BAR + 8 + 49 // 2)
    KEYBOARD_PANEL = 224  # grown from 194 until its keys are nine millimetres high
    WHEELCHAIR = 30  # percent of the window: the spacer's height
    SPACER = h.SCREEN_HEIGHT * WHEELCHAIR // 100

    def test_idle_kiosk_returns_home_under_the_screensaver_until_the_next_input(self):
        self.screen = display
        config = lockdown_config(AutoReturn=1, Screensaver=url("/screensaver.html"),
                                 Wheelchair=self.WHEELCHAIR)
        kiosk = self.kiosk = self.start_test_kiosk("idle", config)
        display.move(*h.page_to_screen(*PAGE_SPOT))
        home = display.settled_capture().keep("idle-home")

        keyboard_box = (0, h.SCREEN_HEIGHT - self.WHEELCHAIR_BAR - self.KEYBOARD_PANEL,
                        h.SCREEN_WIDTH, h.SCREEN_HEIGHT - self.WHEELCHAIR_BAR)
        display.click(*self.KEYBOARD_BUTTON)
        self.wait_screen(home, keyboard_box, 5, "the keyboard button opened no panel at the bottom",
                         same=False, pixels=5000)
        display.click(*self.WHEELCHAIR_BUTTON)
        last_input = time.monotonic()
        spacer = h.poll_until(lambda: display.capture().colour_share(BLACK, (0, 0, h.SCREEN_WIDTH, self.SPACER)) > 0.98,
                              5, 0.2)
        self.expect(spacer, "the wheelchair button put no black spacer above the navigation panel")
        display.screenshot("idle-panels-open")
        since = kiosk.mark()
        kiosk.send_navigate(url("/allowed.html"))  # through the channel: no input
        kiosk.wait_loaded(url("/allowed.html"), since=since)

        # From here on nothing may touch the keyboard or the pointer.
        entry = kiosk.wait_log(r"^Return to home page$", max(1, 90 - (time.monotonic() - last_input)), since)
        idle = time.monotonic() - last_input
        self.expect(idle >= 59, f"the kiosk returned to the home page after {idle:.0f} s without input, "
                                f"not after the minute configured")
        kiosk.wait_loaded(url("/index.html"), since=since)
        covered = h.poll_until(lambda: display.capture().colour_share(SCREENSAVER) > 0.99, 20, 0.3)
        self.expect(covered, "the screensaver page does not cover the whole window")
        display.screenshot("idle-screensaver")
        time.sleep(6)  # one more housekeeping tick (5 s), still without input: the screensaver must stay
        self.expect(display.capture().colour_share(SCREENSAVER) > 0.99, "the screensaver went by itself")
        returns = kiosk.find_log(r"^Return to home page$", since)
        self.expect(len(returns) == 1, f"the kiosk returned to the home page {len(returns)} times in one idle period")

        x, y = h.page_to_screen(*PAGE_SPOT)
        display.xdotool("mousemove", x + 40, y)
        # The home page, with the keyboard panel and the spacer closed; Back is left out, since
        # it is enabled now.
        shown = self.wait_screen(home, (110, 0, h.SCREEN_WIDTH, h.SCREEN_HEIGHT), 10,
                                 "the first pointer move did not bring back the home page without the panels",
                                 pixels=200)
        shown.keep("idle-after-input")


# ---------------------------------------------------------------------------------------------
# Power, session and sleep through logind


def start_logind(cleanup, *options):
    """A private system bus with the stand-in for logind on it; cleanup (addCleanup or
    addClassCleanup) ends both."""
    bus = h.SystemBus()
    cleanup(bus.stop)
    bus.start()
    logind = h.FakeLogind(bus, *options)
    cleanup(logind.stop)
    return bus, logind.start()


class PowerTests(LockdownCase):
    @classmethod
    def setUpClass(cls):
        cls.screen = display
        cls.bus, cls.logind = start_logind(cls.addClassCleanup)
        cls.start_group_kiosk("power", extra_env=cls.bus.env())

    def test_sleep_is_inhibited_while_the_kiosk_runs(self):
        self.logind.wait_lines(r"^Inhibit sleep:idle Plintor block$", timeout=15)
        self.expect(not self.logind.find(r"^Inhibitor released$"),
                    f"the kiosk let go of its inhibitor while running: {self.logind.lines()}")

    def test_shutdown_panel_buttons_ask_logind(self):
        pid = self.kiosk.process.pid
        cases = [  # button, password, what logind is asked
            ("Shut down", "0000", []),
            ("Shut down", PASSWORD, ["PowerOff false"]),
            ("Restart", PASSWORD, ["Reboot false"]),
            ("Log off", PASSWORD, [f"GetSessionByPID {pid}", "TerminateSession 1"]),
        ]
        for button, password, expected in cases:
            with self.subTest(button=button, password=password):
                page, _ = self.open_shutdown_panel()
                display.type_text(password)
                ready = display.capture()
                since = self.logind.mark()
                display.click(*h.shutdown_button(button))
                if expected:
                    asked = h.poll_until(lambda: self.logind.lines()[since:] == expected, 10)
                    self.expect(asked, f"{button}: logind was asked {self.logind.lines()[since:]}, not {expected}")
                else:
                    self.wait_screen(ready, h.shutdown_heading_box(), 5,
                                     f"{button} with a wrong password did not change the box's heading",
                                     same=False, pixels=20)
                    time.sleep(1)  # a request that came with the refusal would be recorded by now
                    self.expect(self.logind.lines()[since:] == [],
                                f"{button} with a wrong password asked logind {self.logind.lines()[since:]}")
                self.expect(self.kiosk.wait_exit(1) is None, f"the kiosk ended after {button}")
                display.key("Escape")
                self.wait_screen(page, h.PAGE_AREA, 5, f"Escape did not close the panel after {button}")


class DailyRestartTests(LockdownCase):
    def test_restart_at_the_time_of_day_until_the_system_accepts(self):
        for name, options in (("refused", ["--refuse"]), ("accepted", [])):
            with self.subTest(logind=name), contextlib.ExitStack() as case:
                self.check_restart(name, options, case.callback)

    def check_restart(self, name, options, cleanup):
        now = datetime.datetime.now()
        at = (now + datetime.timedelta(seconds=14)).replace(microsecond=0)
        if (at + datetime.timedelta(seconds=10)).date() != now.date():
            self.skipTest("the restart time would fall on the next day")
        bus, logind = start_logind(cleanup, *options)
        config = lockdown_config(AutoRestart=f"{at.hour}:{at.minute:02d}:{at.second:02d}")
        kiosk = self.start_test_kiosk(f"restart-{name}", config, bus.env(), on=display, cleanup=cleanup)
        ahead = (at - datetime.datetime.now()).total_seconds()
        if ahead > 2:
            time.sleep(ahead - 1.5)  # up to just before the restart time: nothing may be asked before it
            self.expect(not logind.find(r"^Reboot"), f"a restart {ahead:.0f} s before its time: {logind.lines()}",
                        kiosk)
        left = max(0.0, (at - datetime.datetime.now()).total_seconds())
        if options:
            logind.wait_lines(r"^Reboot false$", count=4, timeout=left + 10)
            self.expect(kiosk.wait_exit(1) is None, "the kiosk ended although the restart was refused", kiosk)
        else:
            code = kiosk.wait_exit(left + 15)
            self.expect(code == 0, f"the kiosk did not end with 0 after the restart was accepted (code {code}); "
                                   f"logind's record: {logind.lines()}", kiosk)
            reboots = logind.find(r"^Reboot")
            self.expect(reboots == ["Reboot false"], f"logind was asked {reboots}, not one Reboot", kiosk)


class TerminationTests(LockdownCase):
    REFUSED = [signal.SIGTERM, signal.SIGINT, signal.SIGHUP, signal.SIGQUIT, signal.SIGTSTP]

    def test_signals_are_refused_until_the_machine_shuts_down(self):
        bus, logind = start_logind(self.addCleanup)
        kiosk = self.start_test_kiosk("signals", extra_env=bus.env(), on=display)
        for number in self.REFUSED:
            os.kill(kiosk.process.pid, number)
        time.sleep(3)  # a signal that ends or stops the kiosk has done so within this time
        self.expect(kiosk.alive(), f"the kiosk ended (code {kiosk.process.returncode}) on a signal", kiosk)
        state = h.process_state(kiosk.process.pid)
        self.expect(state != "T", "the kiosk was stopped by a signal", kiosk)
        kiosk.open_page(url("/allowed.html"))  # still at work

        logind.start_shutdown()
        self.expect(kiosk.wait_exit(1) is None, "the kiosk ended when the shutdown began, before any signal", kiosk)
        os.kill(kiosk.process.pid, signal.SIGTERM)
        code = kiosk.wait_exit(10)
        self.expect(code == 0, f"SIGTERM during a shutdown did not end the kiosk with 0 (code {code})", kiosk)

    def test_term_ends_the_kiosk_while_its_session_logs_out(self):
        bus, logind = start_logind(self.addCleanup, "--session-state", "closing")
        kiosk = self.start_test_kiosk("logout", extra_env=bus.env(), on=display)
        os.kill(kiosk.process.pid, signal.SIGTERM)
        code = kiosk.wait_exit(10)
        self.expect(code == 0, f"SIGTERM while the session closes did not end the kiosk with 0 (code {code})",
                    kiosk)


if __name__ == "__main__":
    unittest.main()
