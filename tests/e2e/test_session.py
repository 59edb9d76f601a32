"""End-to-end tests of a kiosk that runs for months: each visitor starts with a clean session,
a notice comes before the idle return and any input cancels it, an untouched home page is not
reloaded, and a page whose renderer crashes or hangs comes back by itself.

Run through tests/e2e/run_e2e.sh, like test_kiosk.py. Each test starts its own kiosk; the idle
tests wait for real minutes, since the idle time is configured in minutes.
"""

import base64
import os
import re
import shutil
import signal
import subprocess
import time
import urllib.parse

import harness as h

server = display = None
CREDENTIALS = ("visitor", "secret")

# Reports what the page finds of an earlier visit (cookie, local storage, IndexedDB), then
# leaves all three behind for the next load.
STATE_PAGE = b"""<!doctype html><html><body style="background:#fff"><p>state</p><script>
function report(idb) {
  const found = {cookie: document.cookie.includes("visit=1") ? 1 : 0,
                 local: localStorage.getItem("visit") === "1" ? 1 : 0, idb: idb};
  fetch("/report?" + new URLSearchParams(found));
  document.cookie = "visit=1; max-age=86400";
  localStorage.setItem("visit", "1");
}
const open = indexedDB.open("kiosk-test", 1);
open.onupgradeneeded = () => open.result.createObjectStore("visits");
open.onerror = () => report(-1);
open.onsuccess = () => {
  const store = open.result.transaction("visits", "readwrite").objectStore("visits");
  const read = store.get("visit");
  read.onsuccess = () => { store.put(1, "visit"); report(read.result === 1 ? 1 : 0); };
};
</script></body></html>"""

# Keeps its renderer busy for good once it has been drawn, and says so first.
ENDLESS_PAGE = b"""<!doctype html><html><body><p>busy</p><script>
setTimeout(() => { navigator.sendBeacon("/looping"); for (;;) {} }, 200);
</script></body></html>"""


def setUpModule():
    global server, display
    server = h.WebServer().start()
    server.add_page("/state.html", STATE_PAGE)
    server.add_page("/report", b"")
    server.add_page("/endless.html", ENDLESS_PAGE)
    server.add_page("/looping", b"")
    server.routes["/private/"] = basic_auth_page
    display = h.XDisplay().start()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


AUTHORIZED = []  # one entry per request to /private/: whether it carried the visitor's login


def basic_auth_page(request):
    expected = "Basic " + base64.b64encode(":".join(CREDENTIALS).encode()).decode()
    granted = request.headers.get("Authorization") == expected
    AUTHORIZED.append(granted)
    if granted:
        request.reply(200, b"<!doctype html><p>private</p>")
    else:
        request.reply(401, b"<!doctype html><p>login</p>",
                      headers=[("WWW-Authenticate", 'Basic realm="kiosk test"')])


def reports(since):
    """What the state page found, one dict per load since a server mark."""
    found = []
    for path in server.paths(since):
        parts = urllib.parse.urlsplit(path)
        if parts.path == "/report":
            found.append({key: int(values[0]) for key, values in urllib.parse.parse_qs(parts.query).items()})
    return found


def session_config(home, **extra):
    config = {"Button1Width": 120, "Button1URL": home, "Button1Caption": "Home", "KillExplorer": "False",
              "ProgressIndicator": "False", "AutoReturn": "1"}
    config.update({key: str(value) for key, value in extra.items()})
    return config


def renderer_pids(kiosk):
    """The kiosk's renderer processes: WebKitGTK's web processes, below the bubblewrap of their
    sandbox."""
    pids = []
    for pid in h.descendants(kiosk.process.pid):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                if cmdline.read().split(b"\0")[0].endswith(b"/WebKitWebProcess"):
                    pids.append(pid)
        except OSError:
            continue
    return pids


class SessionTest(h.KioskTestCase):

    def new_kiosk(self, name, config):
        kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name=name)
        return self.start_own_kiosk(kiosk, config["Button1URL"])

    def wait_report(self, since, what, kiosk):
        found = h.poll_until(lambda: reports(since), 15, 0.2)
        self.expect(found, f"the state page reported nothing ({what})", kiosk)
        return found[0]

    def test_the_idle_return_leaves_nothing_of_the_visitor(self):
        home = url("/state.html")
        mark = server.mark()
        kiosk = self.new_kiosk("clean", session_config(home, ReturnWarning=0))
        self.expect(self.wait_report(mark, "first load", kiosk) == {"cookie": 0, "local": 0, "idb": 0},
                    f"a fresh kiosk found an earlier visit: {reports(mark)}", kiosk)
        mark = server.mark()
        kiosk.open_page(home)
        self.expect(self.wait_report(mark, "second load", kiosk) == {"cookie": 1, "local": 1, "idb": 1},
                    f"the page's cookie, storage and database did not last one reload: {reports(mark)}", kiosk)

        del AUTHORIZED[:]
        user, password = CREDENTIALS
        since = kiosk.mark()
        kiosk.send_navigate(url("/private/").replace("http://", f"http://{user}:{password}@"))
        kiosk.wait_loaded(url("/private/").replace("http://", f"http://{user}@"), since=since)
        kiosk.open_page(url("/private/"))
        self.expect(AUTHORIZED[-1], f"the engine did not keep the visitor's login: {AUTHORIZED}", kiosk)
        self.expect(not kiosk.find_log(password), "the log shows the visitor's password", kiosk)

        since = kiosk.mark()
        kiosk.wait_log(r"^Session cleared$", 90, since)
        kiosk.wait_log(r"^Return to home page$", 10, since)
        mark = server.mark()
        kiosk.wait_loaded(home, since=since)
        self.expect(self.wait_report(mark, "after the return", kiosk) == {"cookie": 0, "local": 0, "idb": 0},
                    f"the next visitor finds the last one's session: {reports(mark)}", kiosk)

        since = kiosk.mark()
        display.click(*h.BACK)
        time.sleep(2)
        self.expect(not kiosk.find_log(r"^BeforeNavigate:", since),
                    "Back went somewhere: the history of the last visit survived", kiosk)
        since = kiosk.mark()
        kiosk.send_navigate(url("/private/"))
        kiosk.wait_log(rf"^(DocumentComplete|NavigateError): {re.escape(url('/private/'))}$", 30, since)
        self.expect(AUTHORIZED[-1] is False, "the last visitor's login still opens the private page", kiosk)

    def test_warning_before_the_return_and_one_return_per_idle_period(self):
        home = url("/index.html")
        kiosk = self.new_kiosk("warning", session_config(home, ReturnWarning=20,
                                                         MsgReturnWarning="Still there? Back in %d s"))
        kiosk.open_page(url("/allowed.html"))  # through the channel: no input, but not the home page
        page = display.settled_capture().keep("warning-page")
        centre = (h.SCREEN_WIDTH // 2 - 150, h.SCREEN_HEIGHT // 2 - 40, h.SCREEN_WIDTH // 2 + 150, h.SCREEN_HEIGHT // 2 + 40)
        shown = self.wait_screen(page, centre, 60, "no notice came before the return", same=False, pixels=2000,
                                 kiosk=kiosk)
        shown.keep("warning-shown")
        warned_at = time.monotonic()

        x, y = h.page_to_screen(700, 500)
        display.move(x, y)
        moved_at = time.monotonic()
        self.wait_screen(page, centre, 5, "a pointer move did not take the notice away", kiosk=kiosk)
        since = kiosk.mark()
        time.sleep(max(0, 20 - (time.monotonic() - warned_at)) + 5)
        self.expect(not kiosk.find_log(r"^Return to home page$", since),
                    "the kiosk returned although the visitor moved the pointer during the notice", kiosk)

        kiosk.wait_log(r"^Return to home page$", 80, since)
        idle = time.monotonic() - moved_at
        self.expect(idle >= 59, f"the return came {idle:.0f} s after the input that cancelled the notice", kiosk)
        kiosk.wait_loaded(home, since=since)

        # Nothing touched the home page since: the next idle period leaves it alone.
        mark = server.mark()
        since = kiosk.mark()
        time.sleep(70)
        self.expect(not kiosk.find_log(r"^Return to home page$", since),
                    "the untouched home page was loaded again at the next idle period", kiosk)
        self.expect("/index.html" not in server.paths(mark), "the home page was fetched again", kiosk)

    def test_a_busy_visit_ends_at_its_limit_after_a_notice_input_does_not_take_away(self):
        home = url("/index.html")
        kiosk = self.new_kiosk("visit-limit", session_config(home, AutoReturn=10, SessionMinutes=1, ReturnWarning=20,
                                                             MsgSessionEnd="Time is up in %d s"))
        home_page = display.settled_capture()
        kiosk.open_page(url("/allowed.html"))
        page = display.settled_capture().keep("visit-page")
        centre = (h.SCREEN_WIDTH // 2 - 150, h.SCREEN_HEIGHT // 2 - 40, h.SCREEN_WIDTH // 2 + 150, h.SCREEN_HEIGHT // 2 + 40)
        since = kiosk.mark()
        beside = h.page_to_screen(60, 400)  # blank page, away from the notice
        display.click(*beside)  # the visit begins
        started = time.monotonic()

        notice_seen = None
        while time.monotonic() - started < 75 and not kiosk.find_log(r"^Session time limit of 1 min reached$", since):
            display.click(*beside)
            shot = display.capture()
            if shot.changed_pixels(page, centre) > 2000:
                notice_seen = notice_seen or time.monotonic() - started
                shot.keep("visit-notice")
            elif notice_seen is not None and not kiosk.find_log(r"^Session time limit", since):
                self.fail(f"the visitor's input took the notice away {time.monotonic() - started:.0f} s into the visit")
            time.sleep(3)
        kiosk.wait_log(r"^Session time limit of 1 min reached$", 5, since)
        ended = time.monotonic() - started
        self.expect(notice_seen is not None and 30 <= notice_seen <= 50,
                    f"the notice came at {notice_seen} s of a one-minute visit", kiosk)
        self.expect(55 <= ended <= 70, f"the busy visit ended after {ended:.0f} s", kiosk)
        kiosk.wait_log(r"^Session cleared$", 10, since)
        kiosk.wait_loaded(home, since=since)
        self.wait_screen(home_page, centre, 10, "the notice outlived the visit", kiosk=kiosk).keep("visit-ended")

    def test_a_killed_renderer_brings_the_home_page_back(self):
        home = url("/index.html")
        kiosk = self.new_kiosk("crash", session_config(home, AutoReturn=60))
        kiosk.open_page(url("/allowed.html"))
        pids = renderer_pids(kiosk)
        self.expect(pids, "found no renderer process of the kiosk", kiosk)
        since = kiosk.mark()
        for pid in pids:
            os.kill(pid, signal.SIGKILL)
        kiosk.wait_log(r"^Renderer ended: (killed|crashed|ended abnormally), exit code -?\d+$", 15, since)
        kiosk.wait_log(r"^Session cleared$", 15, since)
        kiosk.wait_loaded(home, 20, since)
        kiosk.wait_colour((220, 60), (0x1F, 0x5F, 0xA8), "the home page came back in the log but not on the screen")

    def test_a_page_that_never_returns_is_ended_and_the_home_page_comes_back(self):
        home = url("/index.html")
        kiosk = self.new_kiosk("hang", session_config(home, AutoReturn=60))
        mark = server.mark()
        kiosk.open_page(url("/endless.html"))
        server.wait_request("/looping", 15, since=mark)
        hung = renderer_pids(kiosk)
        since = kiosk.mark()
        kiosk.send_navigate(home)  # the same site: the same, busy renderer would have to answer
        kiosk.wait_log(r"^Renderer unresponsive$", 60, since)
        kiosk.wait_loaded(home, 20, since)
        kiosk.wait_colour((220, 60), (0x1F, 0x5F, 0xA8), "the home page came back in the log but not on the screen")
        gone = h.poll_until(lambda: not set(hung) & set(renderer_pids(kiosk)), 15, 0.5)
        self.expect(gone, f"the hung renderer still runs: {set(hung) & set(renderer_pids(kiosk))}", kiosk)

    def test_an_engine_updated_on_disk_is_put_in_force_at_the_idle_return(self):
        engine = engine_library()
        if engine is None:
            self.skipTest("the program does not load WebKitGTK's library")
        name, library = engine
        home = url("/index.html")
        kiosk = h.Kiosk(display, config=session_config(home, ReturnWarning=0),
                        whitelist=[f"http://127.0.0.1:{server.port}/*"], name="update")
        # The kiosk runs on a copy of the engine, which the test then updates as a package would:
        # the new file is written beside it and renamed over it.
        folder = os.path.join(kiosk.root, "lib")
        os.makedirs(folder)
        shutil.copy(library, os.path.join(folder, name))
        kiosk.extra_env["LD_LIBRARY_PATH"] = folder
        self.start_own_kiosk(kiosk, home)
        kiosk.open_page(url("/allowed.html"))
        shutil.copy(library, os.path.join(folder, "update.tmp"))
        os.replace(os.path.join(folder, "update.tmp"), os.path.join(folder, name))
        since = kiosk.mark()
        kiosk.wait_log(r"^Browser engine updated on disk: the kiosk starts afresh$", 90, since)
        kiosk.wait_log(r"^Start, Plintor ", 20, since)
        kiosk.wait_loaded(home, 30, since)
        self.expect(kiosk.alive(), "the kiosk did not run on after starting afresh", kiosk)
        self.expect(not kiosk.find_log(r"^Return to home page$", since),
                    "the old program returned to the home page instead of starting afresh", kiosk)


def engine_library():
    """The name the program loads WebKitGTK's library by and the file it finds, or None."""
    listing = subprocess.run(["ldd", h.binary_path()], capture_output=True, text=True, timeout=30).stdout
    found = re.search(r"(libwebkitgtk-6\.0\.so\S*) => (\S+)", listing)
    return (found.group(1), os.path.realpath(found.group(2))) if found else None
