"""End-to-end tests of the kiosk: the real program under Xvfb, pages from a local server,
input through xdotool, evidence from the log, the server's request record and the screen.

Run through tests/e2e/run_e2e.sh (or python3 -m unittest discover -s tests/e2e -v). Screenshots
go to $PLINTOR_E2E_ARTIFACTS; PLINTOR_BINARY picks another program than build/plintor.
"""

import datetime
import os
import re
import time

import harness as h

KEYBOARD_CORNER = (h.SCREEN_WIDTH - 64, 6, h.SCREEN_WIDTH - 2, h.PANEL_HEIGHT - 6)
PARKED = (1150, 740)  # a spot every test page leaves empty

# Centres of links on the home page, in page coordinates.
HOME_LINKS = {"allowed": (220, 60), "blocked": (220, 140)}
BLUE, GREEN = (0x1F, 0x5F, 0xA8), (0x2E, 0x9D, 0x4F)  # link boxes, the allowed page's block

BLOCKED_TEXT = "This address is not available on this terminal"

display = server = other_server = None
DEAD_PORT = None


def setUpModule():
    global display, server, other_server, DEAD_PORT
    display = h.XDisplay().start()
    server = h.WebServer().start()
    server.add_redirect("/redirect-allowed", "/allowed.html")
    server.add_redirect("/redirect-blocked", "/blocked.html")
    # The second button's page lives on a port the allow list does not name.
    other_server = h.WebServer().start()
    DEAD_PORT = h.free_tcp_port()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def button_centre(index, widths):
    """Centre of URL button `index` (1-based) for the given button widths."""
    x = h.FIRST_BUTTON_X + sum(width + h.BUTTON_GAP for width in widths[:index - 1])
    return x + widths[index - 1] // 2, h.BUTTON_Y


def standard_config(**extra):
    config = {
        "Button1Width": 120, "Button1URL": url("/index.html"), "Button1Caption": "Home",
        "Button2Width": 150, "Button2URL": other_server.url("/button.html"), "Button2Caption": "Second",
        "MsgBlocked": BLOCKED_TEXT, "BlockedHintSeconds": 2, "KillExplorer": "False", "ProgressIndicator": "False",
    }
    config.update(extra)
    return config


def standard_lists():
    whitelist = [f"http://127.0.0.1:{server.port}/*", f"http://127.0.0.1:{DEAD_PORT}/*"]
    blacklist = [f"http://127.0.0.1:{server.port}/blocked*"]
    return whitelist, blacklist


def new_kiosk(name, config=None):
    whitelist, blacklist = standard_lists()
    return h.Kiosk(display, config=config or standard_config(), whitelist=whitelist, blacklist=blacklist,
                   name=name)


class KioskCase(h.KioskTestCase):
    @classmethod
    def start_kiosk(cls, name, config=None):
        cls.start_shared_kiosk(new_kiosk(name, config), url("/index.html"))

    def expect_not_requested(self, path, since):
        self.expect(path not in [p.split("?", 1)[0] for p in server.paths(since)],
                    f"the server was asked for {path} although it is blocked: {server.paths(since)}")

    def expect_no_new_window(self, before, seconds, what):
        """Checks for seconds that no new top-level window shows: nothing tells that none is
        coming, so the check lasts as long as one would take to open."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            new = display.top_level_windows() - before
            self.expect(not new, f"{what}: a new top-level window appeared: {display.window_summary(new)}")
            time.sleep(0.3)

    def wait_windows_back_to(self, before, timeout, what):
        if h.poll_until(lambda: display.top_level_windows() <= before, timeout, 0.3) is None:
            new = display.top_level_windows() - before
            self.kiosk.fail(f"{what}: a top-level window stays open: {display.window_summary(new)}")

    def go_home(self):
        self.kiosk.open_page(url("/index.html"))
        display.move(*PARKED)


class StartTests(KioskCase):
    """What happens from the start to the first page, and a second start."""

    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("start")

    def test_log_starts_with_the_program_then_the_home_page_once(self):
        home = url("/index.html")
        # Nothing shows that no second opening is coming; one would follow the first within this time.
        time.sleep(2)
        # Asking for the home page again must do nothing: it opens once, after the window shows.
        since = self.kiosk.mark()
        self.kiosk.send_raw(h.MSG_START_HOME)
        self.kiosk.send_navigate(url("/allowed.html"))  # processed after it: a barrier
        self.kiosk.wait_loaded(url("/allowed.html"), since=since)

        texts = [entry.text for entry in self.kiosk.read_log()]
        self.expect(texts[0].startswith("Start, Plintor "), f"first entry is not the start entry: {texts[0]!r}")
        self.expect(re.fullmatch(r"Monitor: 1280x800\nDesktop: \d+x\d+", texts[1]),
                    f"second entry does not give monitor and desktop: {texts[1]!r}")
        starts = [i for i, text in enumerate(texts) if re.match(r"BeforeNavigate: ", text)]
        self.expect(starts and starts[0] > 1, "a navigation started before the window was shown")
        home_starts = [i for i in starts if texts[i] == f"BeforeNavigate: {home} (True)"]
        self.expect(len(home_starts) == 1, f"the home page started {len(home_starts)} times, not once")
        self.expect(home_starts[0] == starts[0], "the first navigation was not the home page")

    def test_second_instance_exits_at_once_without_a_window(self):
        windows = display.top_level_windows()
        second = h.Kiosk(display, config=standard_config(), whitelist=standard_lists()[0], name="second")
        self.addCleanup(second.stop)
        second.start(alone=False)

        def ended_without_a_window():
            if not second.alive():
                return True
            new = display.top_level_windows() - windows
            self.expect(not new, f"the second instance showed a window: {display.window_summary(new)}")
            return False

        self.expect(h.poll_until(ended_without_a_window, 15, 0.2), "the second instance still runs after 15 s")
        self.expect(second.process.returncode == 0,
                    f"the second instance ended with {second.process.returncode}, not 0")
        self.expect(self.kiosk.alive(), "the first kiosk ended when the second started")


class NavigationTests(KioskCase):
    """Links, messages, frames, new windows, file inputs, history and buttons on one kiosk."""

    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("navigation")

    def test_allowed_link_opens_the_page(self):
        self.go_home()
        since, requests = self.kiosk.mark(), server.mark()
        display.click(*h.page_to_screen(*HOME_LINKS["allowed"]))
        self.kiosk.wait_navigation(url("/allowed.html"), True, since=since)
        self.kiosk.wait_loaded(url("/allowed.html"), since=since)
        server.wait_request("/allowed.html", since=requests)
        self.kiosk.wait_colour((320, 270), GREEN, "the allowed page is not on the screen below the panel", 10)

    def test_blocked_link_keeps_the_page_and_shows_the_hint(self):
        self.go_home()
        point = h.page_to_screen(*HOME_LINKS["blocked"])
        display.move(*point)
        before = display.screenshot("blocked-before")
        since, requests = self.kiosk.mark(), server.mark()
        display.click(*point)
        self.kiosk.wait_navigation(url("/blocked.html"), False, since=since)
        # The answer is a panel over the middle of the page.
        x, y = (h.PAGE_AREA[0] + h.PAGE_AREA[2]) // 2, (h.PAGE_AREA[1] + h.PAGE_AREA[3]) // 2
        hint = self.wait_screen(before, (x - 200, y - 60, x + 200, y + 60), 3,
                                "no answer appeared over the page", same=False, pixels=150)
        hint.keep("blocked-hint")
        # The answer goes after its BlockedHintSeconds; what is left must be the very same page.
        self.wait_screen(before, (0, 0, h.SCREEN_WIDTH, h.SCREEN_HEIGHT), 8,
                         "the hint stayed, or the page changed after the blocked link")
        self.expect_not_requested("/blocked.html", requests)
        self.expect(not self.kiosk.find_log(r"^(NavigateComplete|DocumentComplete): .*/blocked\.html", since),
                    "the blocked page was loaded")

    def test_navigate_message_is_judged_by_the_lists(self):
        cases = [  # server, path, allowed, what the log shows at the end
            (server, "/allowed.html", True, "DocumentComplete"),
            (server, "/blocked.html", False, None),
            (server, "/BLOCKED.html", False, None),  # masks ignore letter case
            (other_server, "/allowed.html", False, None),  # on no allow mask
            (None, "/gone.html", True, "NavigateError"),  # nothing listens there
        ]
        for where, path, allowed, outcome in cases:
            address = where.url(path) if where else f"http://127.0.0.1:{DEAD_PORT}{path}"
            with self.subTest(address=address):
                since, requests = self.kiosk.mark(), (where or server).mark()
                self.kiosk.send_navigate(address)
                entry = self.kiosk.wait_navigation(address, allowed, since=since)
                if outcome:
                    self.kiosk.wait_log(rf"^{outcome}: {re.escape(address)}$", 30, since=entry.index)
                    continue
                self.kiosk.send_navigate(url("/history-b.html"))  # handled after it: a barrier
                self.kiosk.wait_loaded(url("/history-b.html"), since=since)
                self.expect(path not in where.paths(requests), f"the server was asked for blocked {address}")
                self.expect(not self.kiosk.find_log(rf"^NavigateComplete: {re.escape(address)}$", since),
                            f"{address} was opened although it is blocked")

    def test_redirects_are_judged_at_every_step(self):
        cases = [("/redirect-allowed", "/allowed.html", True), ("/redirect-blocked", "/blocked.html", False)]
        for start, target, allowed in cases:
            with self.subTest(start=start):
                self.go_home()
                since, requests = self.kiosk.mark(), server.mark()
                self.kiosk.send_navigate(url(start))
                self.kiosk.wait_navigation(url(start), True, since=since)
                self.kiosk.wait_navigation(url(target), allowed, since=since)
                if allowed:
                    self.kiosk.wait_loaded(url(target), since=since)
                else:
                    self.kiosk.send_navigate(url("/history-b.html"))  # a barrier
                    self.kiosk.wait_loaded(url("/history-b.html"), since=since)
                    self.expect_not_requested(target, requests)

    def test_blocked_frame_is_refused_without_a_hint(self):
        self.go_home()  # parks the pointer where the hint would show
        windows = display.top_level_windows()
        since, requests = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(url("/frames.html"))
        self.kiosk.wait_navigation(url("/blocked-frame.html"), False, since=since)
        # Pictures from the hint's lifetime, compared once the page has settled.
        pictures, deadline = [], time.monotonic() + 2.5
        while time.monotonic() < deadline:
            pictures.append(display.capture())
            self.expect(display.top_level_windows() <= windows, "a window appeared for a blocked frame")
        self.kiosk.wait_loaded(url("/frames.html"), since=since)
        self.kiosk.wait_navigation(url("/frame-ok.html"), True, since=since)
        self.kiosk.wait_colour((100, 60), GREEN, "the allowed frame is not shown")
        settled = display.settled_capture().keep("blocked-frame-settled")
        x, y = PARKED
        for picture in pictures:
            changed = picture.changed_pixels(settled, (x - 420, y - 300, h.SCREEN_WIDTH, h.SCREEN_HEIGHT))
            if changed > 150:
                picture.keep("blocked-frame-hint")
                self.kiosk.fail(f"something showed near the pointer while the frame was blocked ({changed} px)")
        self.expect_not_requested("/blocked-frame.html", requests)
        server.wait_request("/frame-ok.html", since=requests)
        self.expect(h.near(settled.pixel(*h.page_to_screen(100, 60)), GREEN), "the allowed frame is not shown")

    def test_new_windows_open_in_the_same_view(self):
        cases = [  # control on popups.html (page y), address, allowed
            (60, "/popup-target.html", True),
            (140, "/opened.html", True),
            (220, "/blocked-popup.html", False),
        ]
        for y, path, allowed in cases:
            with self.subTest(path=path):
                self.kiosk.open_page(url("/popups.html"))
                windows = display.top_level_windows()
                since, requests = self.kiosk.mark(), server.mark()
                display.click(*h.page_to_screen(220, y))
                opened = self.kiosk.wait_log(rf"^NewWindow: {re.escape(url(path))}$", since=since)
                self.kiosk.wait_navigation(url(path), allowed, since=opened.index)
                if allowed:
                    self.kiosk.wait_loaded(url(path), since=opened.index)
                    self.expect_no_new_window(windows, 2, f"opening {path}")
                else:
                    self.wait_windows_back_to(windows, 8, f"blocked {path}")
                    self.expect_no_new_window(windows, 1, f"blocked {path}")
                    self.expect_not_requested(path, requests)
                    self.expect(not self.kiosk.find_log(r"^NavigateComplete: ", since),
                                "the page changed although the new window's address is blocked")

    def test_file_inputs_open_no_chooser(self):
        cases = [("lower", (220, 60)), ("upper", (220, 140)), ("framed", (220, 220))]
        self.kiosk.open_page(url("/files.html"))
        self.kiosk.wait_navigation(url("/file-frame.html"), True)
        for name, point in cases:
            with self.subTest(input=name):
                windows = display.top_level_windows()
                requests = server.mark()
                display.click(*h.page_to_screen(*point))
                server.wait_request(f"/ping?input={name}", 10, since=requests)  # the click reached it
                try:
                    self.expect_no_new_window(windows, 3, f"clicking the file input {name}")
                finally:
                    display.key("Escape")  # closes a chooser that opened, for the next case

    def test_back_and_forward(self):
        self.kiosk.open_page(url("/history-a.html"))
        since = self.kiosk.mark()
        display.click(*h.page_to_screen(220, 60))
        self.kiosk.wait_loaded(url("/history-b.html"), since=since)
        for button, address in ((h.BACK, "/history-a.html"), (h.FORWARD, "/history-b.html")):
            with self.subTest(button=button):
                since = self.kiosk.mark()
                display.click(*button)
                self.kiosk.wait_navigation(url(address), True, since=since)
                self.kiosk.wait_log(rf"^NavigateComplete: {re.escape(url(address))}$", since=since)

    def test_url_buttons_open_their_pages(self):
        widths = [120, 150]
        self.kiosk.open_page(url("/allowed.html"))
        # Button 2's address is on no allow mask: buttons are always allowed.
        for index, address in ((2, other_server.url("/button.html")), (1, url("/index.html"))):
            with self.subTest(button=index):
                since = self.kiosk.mark()
                display.click(*button_centre(index, widths))
                self.kiosk.wait_navigation(address, True, since=since)
                self.kiosk.wait_loaded(address, since=since)

    def test_keyboard_button_is_shown(self):
        # The counterpart of the safe-web-browser check: there the corner must be empty.
        rows = display.screenshot("keyboard-button").varied_rows(KEYBOARD_CORNER)
        self.expect(rows > 10, "the top right corner of the panel shows no keyboard button")


class ShutdownPanelTests(KioskCase):
    """Opening and closing the shutdown panel; one kiosk, which must survive all of it."""

    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("panel", standard_config(Password="4711"))

    def open_panel(self):
        self.go_home()
        return self.open_shutdown_panel()

    def test_panel_opens_and_closes(self):
        for closer in ("ctrl+shift+F4", "Escape"):
            with self.subTest(closer=closer):
                page, panel = self.open_panel()
                panel.keep(f"panel-open-{closer}")
                display.key(closer)
                self.wait_screen(page, h.PAGE_AREA, 5, f"{closer} did not close the shutdown panel")
                self.expect(self.kiosk.alive(), "the kiosk ended")

    def test_wrong_password_is_refused(self):
        page, _ = self.open_panel()
        display.type_text("0000")
        ready = display.capture()
        display.click(*h.shutdown_button("Exit"))
        self.wait_screen(ready, h.shutdown_heading_box(), 5,
                         "Exit with a wrong password did not change the box's heading",
                         same=False, pixels=20).keep("panel-invalid-password")
        self.expect(self.kiosk.wait_exit(2) is None, "the kiosk ended after a wrong password")
        display.key("Escape")
        self.wait_screen(page, h.PAGE_AREA, 5, "Escape did not close the panel after a wrong password")

    def test_panel_closes_itself_15_s_after_the_last_key(self):
        page, _ = self.open_panel()
        # The panel's own 15 s run out or not; nothing else shows how long it has left.
        time.sleep(10)
        display.type_text("1")  # restarts the 15 s
        time.sleep(10)
        still = display.capture()
        self.expect(still.changed_pixels(page, h.PAGE_AREA) > 500,
                    "the panel closed within 15 s of the last key press")
        self.wait_screen(page, h.PAGE_AREA, 15, "the panel did not close by itself")


class ShutdownExitTests(KioskCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("exit", standard_config())  # no Password key: the default one

    def test_default_password_and_exit_end_the_program(self):
        self.open_shutdown_panel()
        display.type_text("7395")
        display.click(*h.shutdown_button("Exit"))
        code = self.kiosk.wait_exit(15)
        self.expect(code is not None, "the right password and Exit did not end the program")
        self.expect(code == 0, f"the program ended with code {code}, not 0")


class RemoteQuitTests(KioskCase):
    """Each test ends its own kiosk."""

    def setUp(self):
        super().setUp()
        self.kiosk = self.start_own_kiosk(new_kiosk("quit"), url("/index.html"))

    def test_only_todays_token_quits(self):
        wparam, lparam = h.today_quit_token()
        yesterday = h.quit_token_for(datetime.date.today() - datetime.timedelta(days=1))
        self.assertNotEqual(yesterday[0], wparam)
        refused = [
            h.encode_message(h.MSG_REMOTE_QUIT, *yesterday),
            h.encode_message(h.MSG_REMOTE_QUIT, wparam, lparam + 1),
            h.encode_message(h.MSG_REMOTE_QUIT, wparam, -lparam),
            h.encode_message(h.MSG_REMOTE_QUIT, 0, 0),
            # A kind the kiosk does not know is nobody's, whatever it carries.
            h.encode_message(0x1234, wparam, lparam, url("/blocked/unknown")),
            h.encode_message(0xFFFFFFFF, wparam, lparam),
            # Broken datagrams must not hurt either.
            b"", b"PLINTOR/1", b"PLINTOR/1 1280 1 2", b"PLINTOR/1 x y z 0\n",
            b"PLINTOR/2 1280 %d %d 0\n" % (wparam, lparam),
            b"PLINTOR/1 1280 99999999999999999999 1 0\n",
            b"PLINTOR/1 74 0 0 99999\n" + url("/index.html").encode(),
            h.encode_message(h.MSG_NAVIGATE, text=url("/blocked/" + "x" * 5000)),
            h.encode_message(h.MSG_NAVIGATE, text=b"\xff\xfe not UTF-8 \x00 http://127.0.0.1/"),
        ]
        for data in refused:
            self.kiosk.send_bytes(data)
        since = self.kiosk.mark()
        self.kiosk.send_navigate(url("/allowed.html"))  # handled after all of the above
        self.kiosk.wait_loaded(url("/allowed.html"), since=since)
        self.expect(self.kiosk.wait_exit(1) is None, "a wrong token or a broken datagram ended the kiosk")

        self.kiosk.send_raw(h.MSG_REMOTE_QUIT, wparam, lparam)
        code = self.kiosk.wait_exit(15)
        self.expect(code == 0, f"today's token did not end the kiosk with 0 (code {code})")

    def test_send_quit_command(self):
        result = self.kiosk.send_quit()
        self.expect(result.returncode == 0, f"plintor --send quit failed: {result.stderr!r}")
        code = self.kiosk.wait_exit(15)
        self.expect(code == 0, f"plintor --send quit did not end the kiosk with 0 (code {code})")
        self.expect(h.poll_until(lambda: not h.kiosk_channel_in_use(), 10), "the channel stays taken")
        for args in (("--send", "quit"), ("--send", "navigate", url("/allowed.html"))):
            with self.subTest(args=args):
                result = self.kiosk.run_sender(*args)
                self.expect(result.returncode != 0, f"plintor {' '.join(args)} without a kiosk returned 0")
                self.expect(result.stderr.strip(), f"plintor {' '.join(args)} without a kiosk said nothing")


class SafeWebBrowserTests(KioskCase):
    @classmethod
    def setUpClass(cls):
        # Default files that would narrow everything down, were they read.
        home_url = url("/safe.html")
        kiosk = h.Kiosk(display, config=standard_config(Button1URL=url("/allowed.html")),
                        whitelist=[f"http://127.0.0.1:{server.port}/allowed.html"],
                        blacklist=[f"http://127.0.0.1:{server.port}/blocked*"],
                        default_files=True, name="safe")
        kiosk.args = [f"--home={kiosk.home}", "/safewebbrowser", home_url]
        cls.requests = server.mark()
        cls.start_shared_kiosk(kiosk)

    def wait_start_page(self, since):
        server.wait_request("/safe.html", 30, since=since)
        self.kiosk.wait_colour((220, 60), BLUE, "the safe web browser did not show its address")

    def test_shows_the_address_with_every_address_allowed(self):
        self.wait_start_page(self.requests)
        image = display.screenshot("safe-web-browser")
        self.expect(image.varied_rows(KEYBOARD_CORNER) == 0, "the keyboard button is shown")
        created = sorted(set(os.listdir(self.kiosk.home)) & {"plintor.ini", "Whitelist.txt", "Blacklist.txt"})
        self.expect(not created, f"the safe web browser created configuration files: {created}")
        requests = server.mark()
        display.click(*h.page_to_screen(220, 60))  # a link the default deny list would block
        server.wait_request("/blocked.html", 15, since=requests)
        requests = server.mark()
        display.click(h.FIRST_BUTTON_X + 10, h.BUTTON_Y)  # the one URL button: the address
        self.wait_start_page(requests)
