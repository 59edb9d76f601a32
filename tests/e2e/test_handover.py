"""End-to-end tests of the hand-over between visitors: a page that asks to be kept cannot hold
the terminal against the kiosk's own navigations, and nothing one visitor copied reaches the
next."""

import time
import unittest
import urllib.parse

import harness as h

display = server = None

HOME_BUTTON = (h.FIRST_BUTTON_X + 60, h.BUTTON_Y)
SECRET = "visitor-one-secret"


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    add_routes()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def add_routes():
    # Asks the visitor to stay whenever it is left; the engine asks only after a gesture.
    server.add_page("/hold.html", "<!doctype html><title>Hold</title><body style='background:#a83232;height:2000px'>"
                    "<script>addEventListener('beforeunload', e => { e.preventDefault(); e.returnValue = 'stay'; });"
                    "</script><p>Hold")
    server.add_page("/before.html", "<!doctype html><title>Before</title><p>Before")
    # Two fields; whatever arrives in one is reported to the server.
    server.add_page("/paste.html", "<!doctype html><title>Paste</title><body style='margin:0'>"
                    "<input id=a style='position:absolute;left:20px;top:20px;width:400px;height:40px'>"
                    "<input id=b style='position:absolute;left:20px;top:100px;width:400px;height:40px'>"
                    "<script>for (const f of document.querySelectorAll('input'))"
                    " f.addEventListener('input', () => fetch('/pasted?' + f.id + '=' + encodeURIComponent(f.value)));"
                    "</script>")


def config(**extra):
    settings = {"Button1Width": 120, "Button1URL": url("/before.html"), "Button1Caption": "Home",
                "KillExplorer": "False", "ProgressIndicator": "False", "AutoReturn": "1", "ReturnWarning": "0"}
    settings.update({key: str(value) for key, value in extra.items()})
    return settings


class HandoverCase(h.KioskTestCase):
    @classmethod
    def start_kiosk(cls, name, **extra):
        kiosk = h.Kiosk(display, config=config(**extra), whitelist=[url("/*")], name=name)
        cls.start_shared_kiosk(kiosk, url("/before.html"))

    def open_held_page(self):
        self.kiosk.open_page(url("/before.html"))
        self.kiosk.open_page(url("/hold.html"))
        display.click(*h.page_to_screen(600, 400))  # the gesture that lets the page ask


class LeavingTests(HandoverCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("leaving", ClearSessionOnReturn="False")

    def test_the_kiosks_own_navigations_leave_a_page_that_asks_to_stay(self):
        ways = {
            "home button": (lambda: display.click(*HOME_BUTTON), url("/before.html")),
            "back button": (lambda: display.click(*h.BACK), url("/before.html")),
            "F5": (lambda: display.key("F5"), url("/hold.html")),
            "the channel": (lambda: self.kiosk.send_navigate(url("/paste.html")), url("/paste.html")),
        }
        for way, (act, target) in ways.items():
            with self.subTest(way=way):
                self.open_held_page()
                since = self.kiosk.mark()
                act()
                self.kiosk.wait_loaded(target, 15, since)

    def test_the_idle_return_leaves_a_page_that_asks_to_stay(self):
        self.open_held_page()
        since = self.kiosk.mark()
        self.kiosk.wait_log(r"^Return to home page$", 90, since)
        self.kiosk.wait_loaded(url("/before.html"), 15, since)


class ClipboardTests(HandoverCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("clipboard")

    def pasted(self, since):
        return [urllib.parse.unquote(p.split("?", 1)[1]) for p in server.paths(since) if p.startswith("/pasted?")]

    def paste_both_ways(self):
        display.click(*h.page_to_screen(220, 120))
        display.key("ctrl+v")
        display.click(*h.page_to_screen(220, 40), button=2)  # the primary selection

    def test_what_a_visitor_copied_does_not_reach_the_next(self):
        self.kiosk.open_page(url("/paste.html"))
        display.click(*h.page_to_screen(220, 40))
        display.type_text(SECRET)
        display.key("shift+Home", "ctrl+c")  # (Control+A is one of the keys the kiosk keeps)
        requests = server.mark()
        self.paste_both_ways()
        h.poll_until(lambda: f"b={SECRET}" in self.pasted(requests), 10, 0.2)
        self.expect(f"b={SECRET}" in self.pasted(requests),
                    f"copying and pasting does not work within one visit: {self.pasted(requests)}")

        since = self.kiosk.mark()
        self.kiosk.wait_log(r"^Session cleared$", 90, since)
        self.kiosk.wait_loaded(url("/before.html"), 15, since)
        self.kiosk.open_page(url("/paste.html"))
        requests = server.mark()
        self.paste_both_ways()
        time.sleep(2)  # a paste is reported at once; nothing marks that none came
        leaked = [value for value in self.pasted(requests) if SECRET in value]
        self.expect(not leaked, f"the next visitor pasted the last one's text: {leaked}")


if __name__ == "__main__":
    unittest.main()
