"""End-to-end tests of the kiosk with a session manager that never answers: the daily restart
is asked of logind in the background, one request at a time, while the kiosk goes on answering
`plintor --send status` and loading pages.

Run through tests/e2e/run_e2e.sh test_clock_and_power (CTest: e2e_clock_and_power).
"""

import datetime
import time

import harness as h

display = server = None


def setUpModule():
    global display, server
    server = h.WebServer().start()
    display = h.XDisplay().start()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


class HungLogindTests(h.KioskTestCase):
    def start_logind(self, *options):
        bus = h.SystemBus()
        self.addCleanup(bus.stop)
        bus.start()
        logind = h.FakeLogind(bus, *options)
        self.addCleanup(logind.stop)
        return bus, logind.start()

    def test_kiosk_serves_visitors_while_logind_never_answers_the_restart(self):
        now = datetime.datetime.now()
        at = (now + datetime.timedelta(seconds=8)).replace(microsecond=0)
        if (at + datetime.timedelta(seconds=40)).date() != now.date():
            self.skipTest("the restart time would fall on the next day")
        bus, logind = self.start_logind("--never-answer")
        config = {"Button1Width": 120, "Button1URL": url("/index.html"), "Button1Caption": "Home",
                  "KillExplorer": "False", "ProgressIndicator": "False",
                  "AutoRestart": f"{at.hour}:{at.minute:02d}:{at.second:02d}"}
        kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"],
                        name="hung-logind", extra_env=bus.env())
        self.start_own_kiosk(kiosk, url("/index.html"))

        logind.wait_lines(r"^Reboot false$", timeout=(at - datetime.datetime.now()).total_seconds() + 15)
        asked = time.monotonic()
        # While logind holds the restart unanswered (until the bus's own limit, 5 s), a status
        # question is answered and a page loads: both before the kiosk hears of the failure.
        result = kiosk.run_sender("--send", "status")
        self.expect(result.returncode == 0 and result.stdout.decode().startswith("{"),
                    f"status question while logind hangs: code {result.returncode}, "
                    f"errors {result.stderr.decode(errors='replace')!r}", kiosk)
        kiosk.open_page(url("/allowed.html"), timeout=15)
        self.expect(not kiosk.find_log(r"Restart not accepted"),
                    "the status answer and the page came only after the hung request ended", kiosk)
        for question in range(3):
            result = kiosk.run_sender("--send", "status")
            self.expect(result.returncode == 0, f"status question {question + 2}: code {result.returncode}", kiosk)
        kiosk.open_page(url("/index.html"), timeout=15)
        self.expect(kiosk.alive(), "the kiosk ended although the restart was never answered", kiosk)

        # One request at a time, later each time: the first ends at the bus's own limit (5 s),
        # the next waits a second, the third two.
        time.sleep(max(0.0, asked + 20 - time.monotonic()))
        reboots = logind.find(r"^Reboot")
        self.expect(2 <= len(reboots) <= 3, f"logind was asked {len(reboots)} times in 20 s: {reboots}", kiosk)
        kiosk.wait_log(r"Restart not accepted: the next request in 1 s at the earliest", timeout=1)
