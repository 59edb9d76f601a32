"""End-to-end tests of the page zoom: with ZoomButtons, "A−" and "A+" in the navigation panel
make the whole page smaller and larger in steps of 25 percentage points within ZoomMin and
ZoomMax, the zoom stays from page to page, and the idle return puts it back to 100 %; without
them the panel looks as it always did.

Run through tests/e2e/run_e2e.sh, like test_kiosk.py. The idle return is configured in minutes:
one test waits for a real minute."""

import harness as h

server = display = None

# A black block 200 CSS pixels wide on white, and a second page like it: its width on the screen
# is the page zoom.
BLOCK_PAGE = (b'<!doctype html><html><body style="margin:0;background:#fff">'
              b'<div style="position:absolute;left:40px;top:40px;width:200px;height:100px;background:#000">'
              b'</div></body></html>')
BLOCK_ROW = h.PANEL_HEIGHT + 80  # through the block from 75 % to 150 %
BLACK = (0, 0, 0)


def setUpModule():
    global server, display
    server = h.WebServer().start()
    server.add_page("/block.html", BLOCK_PAGE)
    server.add_page("/other.html", BLOCK_PAGE)
    display = h.XDisplay().start()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def zoom_config(**extra):
    config = {"Button1Width": 120, "Button1URL": url("/block.html"), "Button1Caption": "Home",
              "KillExplorer": "False", "ProgressIndicator": "False"}
    config.update({key: str(value) for key, value in extra.items()})
    return config


def new_kiosk(name, config):
    return h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name=name)


def block_width(image):
    return sum(1 for x in range(h.SCREEN_WIDTH) if h.near(image.pixel(x, BLOCK_ROW), BLACK, 60))


def centre(box):
    return (box[0] + box[2]) // 2, (box[1] + box[3]) // 2


def dark_share(image, box):
    """The share of a button's pixels in its caption's black: none when it is greyed out."""
    return image.colour_share(BLACK, box, tolerance=60, step=1)


class ZoomButtonsTest(h.KioskTestCase):
    @classmethod
    def setUpClass(cls):
        kiosk = new_kiosk("zoom", zoom_config(ZoomButtons="True", ZoomMin=75, ZoomMax=150, AutoReturn=1,
                                             ReturnWarning=0, ClearSessionOnReturn="False"))
        cls.start_shared_kiosk(kiosk, url("/block.html"))

    def press_until_width(self, box, width, what):
        """Presses a zoom button and waits for the block to be drawn that wide."""
        display.click(*centre(box))
        image = h.poll_until(lambda: (lambda shot: shot if abs(block_width(shot) - width) <= 2 else None)(
            display.capture()), 10, 0.2)
        if image is None:
            self.expect(False, f"{what}: the block is {block_width(display.capture())} pixels wide, not {width}")
        return image

    def test_buttons_step_the_page_within_the_bounds_and_the_zoom_stays_from_page_to_page(self):
        start = display.settled_capture()
        start.keep("zoom-100")
        self.expect(abs(block_width(start) - 200) <= 2, f"at 100 % the block is {block_width(start)} wide")
        self.expect(dark_share(start, h.ZOOM_IN_BOX) > 0.02 and dark_share(start, h.ZOOM_OUT_BOX) > 0.02,
                    "A− and A+ are not drawn beside the keyboard button")

        self.press_until_width(h.ZOOM_IN_BOX, 250, "A+ from 100 %")
        self.press_until_width(h.ZOOM_IN_BOX, 300, "A+ from 125 %")
        display.move(*h.page_to_screen(700, 500))  # away from the button: its own look, not the hover
        largest = display.settled_capture().keep("zoom-150")
        self.expect(dark_share(largest, h.ZOOM_IN_BOX) == 0, "A+ does not look disabled at ZoomMax")
        display.click(*centre(h.ZOOM_IN_BOX))
        self.expect(abs(block_width(display.settled_capture()) - 300) <= 2, "A+ went beyond ZoomMax")

        self.kiosk.open_page(url("/other.html"))
        other = display.settled_capture()
        self.expect(abs(block_width(other) - 300) <= 2,
                    f"the zoom did not stay on the next page: the block is {block_width(other)} wide")

        for width in (250, 200, 150):
            self.press_until_width(h.ZOOM_OUT_BOX, width, f"A− towards {width}")
        display.move(*h.page_to_screen(700, 500))
        smallest = display.settled_capture().keep("zoom-75")
        self.expect(dark_share(smallest, h.ZOOM_OUT_BOX) == 0, "A− does not look disabled at ZoomMin")
        self.expect(dark_share(smallest, h.ZOOM_IN_BOX) > 0.02, "A+ stays disabled below ZoomMax")
        display.click(*centre(h.ZOOM_OUT_BOX))
        self.expect(abs(block_width(display.settled_capture()) - 150) <= 2, "A− went below ZoomMin")

    def test_the_idle_return_puts_the_zoom_back_to_100_percent(self):
        self.kiosk.open_page(url("/other.html"))
        for _ in range(2):  # from wherever the zoom is, three presses reach ZoomMax
            display.click(*centre(h.ZOOM_IN_BOX))
        self.press_until_width(h.ZOOM_IN_BOX, 300, "A+ up to ZoomMax before the idle return")
        since = self.kiosk.mark()
        self.kiosk.wait_log(r"^Return to home page$", 90, since)
        self.kiosk.wait_loaded(url("/block.html"), since=since)
        back = display.settled_capture().keep("zoom-after-return")
        self.expect(abs(block_width(back) - 200) <= 2,
                    f"after the idle return the block is {block_width(back)} wide, not 200 (100 %)")
        self.expect(dark_share(back, h.ZOOM_IN_BOX) > 0.02 and dark_share(back, h.ZOOM_OUT_BOX) > 0.02,
                    "the zoom buttons do not both work again at 100 %")


class WithoutZoomButtonsTest(h.KioskTestCase):
    def panel_of(self, name, config):
        kiosk = self.start_own_kiosk(new_kiosk(name, config), url("/block.html"))
        display.move(*h.page_to_screen(700, 500))
        panel = display.settled_capture((0, 0, h.SCREEN_WIDTH, h.PANEL_HEIGHT)).keep(f"panel-{name}")
        kiosk.stop()
        return panel

    def test_the_panel_is_as_before_and_only_the_zoom_buttons_come_with_the_key(self):
        plain = self.panel_of("plain", zoom_config())
        zoom = self.panel_of("with-zoom", zoom_config(ZoomButtons="True"))
        buttons = (h.ZOOM_OUT_BOX[0], 0, h.ZOOM_IN_BOX[2], h.PANEL_HEIGHT)
        self.assertEqual(plain.varied_rows((buttons[0] - 20, 0, h.KEYBOARD_BOX[0], h.PANEL_HEIGHT)), 0,
                         f"without ZoomButtons something is drawn left of the keyboard button ({plain.path})")
        self.assertGreater(zoom.changed_pixels(plain, buttons), 300,
                           f"ZoomButtons=True shows no buttons ({zoom.path})")
        for box in ((0, 0, buttons[0], h.PANEL_HEIGHT), (buttons[2], 0, h.SCREEN_WIDTH, h.PANEL_HEIGHT)):
            self.assertEqual(zoom.changed_pixels(plain, box), 0,
                             f"the zoom buttons moved something else of the panel {box} ({zoom.path})")
