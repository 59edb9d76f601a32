"""End-to-end tests of the on-screen keyboard that comes with a text field's focus: a tap on a
field low on the page opens it and the page is laid out above it, leaving the field closes it,
the on-screen keys type into the field, a page's own focus opens nothing, and the shutdown
panel's password field opens it. Xvfb has no touch screen: KeyboardOnFocus=2 stands in."""

import unittest
import urllib.parse

import harness as h

PANEL_TOP = h.KEYBOARD_PANEL_TOP
KEYBOARD_TOP_ROW = (400, PANEL_TOP + h.KEYBOARD_MARGIN + 1, 800, PANEL_TOP + h.KEYBOARD_MARGIN + 3)
AD06 = h.KEY_AD06  # "y" on an English keyboard
RED = (255, 0, 0)
FIELD_LEFT, FIELD_TOP, FIELD_WIDTH, FIELD_HEIGHT = 40, 640, 400, 50  # in the page
FIELD_CENTRE = h.page_to_screen(FIELD_LEFT + FIELD_WIDTH // 2, FIELD_TOP + FIELD_HEIGHT // 2)
BLANK = h.page_to_screen(900, 200)
KEYBOARD_BUTTON = h.box_centre(h.KEYBOARD_BOX)
ABOVE_KEYBOARD = (0, h.PANEL_HEIGHT, h.SCREEN_WIDTH, PANEL_TOP)
FIELD_AREA = FIELD_WIDTH * FIELD_HEIGHT

# A red field that the keyboard would cover, on a page that can scroll. The page says what it
# sees: its field's place in the view at each resize, and each change of its value. With ?loop
# it also moves the focus by itself: once at load, then in a loop for two seconds.
PAGE = f"""<!doctype html>
<title>Focus</title>
<style>
  body {{ margin: 0; background: white; height: 1600px; }}
  input {{ position: absolute; left: {FIELD_LEFT}px; top: {FIELD_TOP}px; width: {FIELD_WIDTH}px;
          height: {FIELD_HEIGHT}px; box-sizing: border-box; border: none; font-size: 28px;
          background: rgb(255, 0, 0); }}
</style>
<input id="field">
<script>
  const field = document.getElementById('field');
  const say = (what) => fetch('/said?' + new URLSearchParams({{what, value: field.value,
      bottom: Math.round(field.getBoundingClientRect().bottom), height: innerHeight}}));
  field.addEventListener('input', () => say('input'));
  addEventListener('resize', () => say('resize'));
  if (location.search === '?loop') {{
    field.focus();
    const loop = setInterval(() => {{ field.blur(); field.focus(); }}, 50);
    setTimeout(() => {{ clearInterval(loop); say('loop-over'); }}, 2000);
  }}
</script>
"""

# One control of each kind, in two columns, and whether its focus brings the keyboard.
KINDS = (("text", '<input type="text">', True), ("search", '<input type="search">', True),
         ("email", '<input type="email">', True), ("url", '<input type="url">', True),
         ("tel", '<input type="tel">', True), ("password", '<input type="password">', True),
         ("number", '<input type="number">', True), ("textarea", "<textarea></textarea>", True),
         ("contenteditable", "<div contenteditable>x</div>", True),
         ("readonly", '<input type="text" readonly>', False),
         ("checkbox", '<input type="checkbox">', False), ("button", "<button>b</button>", False),
         ("range", '<input type="range">', False))
KIND_SIZE = (300, 40)


def kind_place(index):
    """Top left of a control of the kinds page, in the page."""
    return 20 + (index % 2) * 400, 20 + (index // 2) * 70


KINDS_PAGE = "<!doctype html><title>Kinds</title><style>body { margin: 0; background: white; }" \
    f" .k {{ position: absolute; width: {KIND_SIZE[0]}px; height: {KIND_SIZE[1]}px; margin: 0;" \
    " box-sizing: border-box; border: 1px solid black; }</style>" + "".join(
        html.replace(">", f' class="k" style="left: {kind_place(i)[0]}px; top: {kind_place(i)[1]}px">', 1)
        for i, (_, html, _) in enumerate(KINDS))

display = server = None


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    server.add_page("/focus.html", PAGE)
    server.add_page("/kinds.html", KINDS_PAGE)
    h.run_tool(["setxkbmap", "-layout", "us"], env=display.env())


def tearDownModule():
    h.stop_everything()


def said(since, what):
    """What the page said since the mark, as dictionaries, for reports of that kind."""
    reports = [dict(urllib.parse.parse_qsl(urllib.parse.urlsplit(path).query, keep_blank_values=True))
               for path in server.paths(since) if path.startswith("/said?")]
    return [report for report in reports if report.get("what") == what]


def keyboard_shown():
    return display.capture().colour_share((0x80, 0x80, 0x80), KEYBOARD_TOP_ROW, 20, 1) > 0.5


def start_kiosk(name, keyboard_on_focus):
    config = {"Button1Width": 120, "Button1URL": server.url("/focus.html"), "Button1Caption": "Focus",
              "KillExplorer": "False",
              "KeyboardOnFocus": keyboard_on_focus}
    return h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name=name)


class FocusKeyboardTests(h.KioskTestCase):
    @classmethod
    def setUpClass(cls):
        cls.start_shared_kiosk(start_kiosk("focus-always", "2"), server.url("/focus.html"))

    def setUp(self):
        super().setUp()
        self.kiosk.open_page(server.url("/focus.html"))
        display.settled_capture()

    def wait_keyboard(self, shown, what, timeout=5):
        self.expect(h.poll_until(lambda: keyboard_shown() == shown, timeout, 0.2), what)

    def test_a_tap_opens_it_above_the_field_its_keys_type_and_leaving_closes_it(self):
        since = server.mark()
        display.click(*FIELD_CENTRE)
        self.wait_keyboard(True, "a tap on the text field did not open the keyboard")
        resized = h.poll_until(lambda: said(since, "resize"), 5)
        self.expect(resized, "the page was not laid out anew when the keyboard opened")
        last = resized[-1]
        self.expect(int(last["bottom"]) <= int(last["height"]) and int(last["height"]) <= PANEL_TOP - h.PANEL_HEIGHT,
                    f"the field is not inside the page's shrunk view: {last}")
        image = display.settled_capture()
        image.keep("focus-keyboard-open")
        shown = image.colour_share(RED, ABOVE_KEYBOARD, 10, 1) * (ABOVE_KEYBOARD[2] * (PANEL_TOP - h.PANEL_HEIGHT))
        self.expect(shown > 0.9 * FIELD_AREA, f"only {shown:.0f} of the field's {FIELD_AREA} pixels are above the keyboard")

        display.click(*AD06)
        typed = h.poll_until(lambda: [r["value"] for r in said(since, "input")], 5)
        self.expect(typed == ["y"], f"the on-screen key typed {typed} into the field, not y")
        self.expect(keyboard_shown(), "typing on the on-screen keys closed the keyboard")

        display.click(*BLANK)
        self.wait_keyboard(False, "the keyboard stayed after the field lost the focus")

    def test_the_pages_own_focus_opens_nothing_and_a_tap_then_holds_against_its_loop(self):
        since = server.mark()
        self.kiosk.open_page(server.url("/focus.html?loop"))
        outcome = h.poll_until(lambda: "opened" if keyboard_shown() else said(since, "loop-over") and "over", 10, 0.1)
        self.expect(outcome != "opened", "the page's own focus opened the keyboard")
        self.expect(outcome == "over", "the page's focus loop did not run to its end")
        since = server.mark()
        self.kiosk.open_page(server.url("/focus.html?loop"))
        display.click(*FIELD_CENTRE)
        self.wait_keyboard(True, "a tap on the field did not open the keyboard while the page moved the focus")
        flickered = h.poll_until(lambda: not keyboard_shown(), 1.5, 0.05)
        self.expect(not flickered, "the page's focus loop closed the keyboard the visitor opened")

    def test_only_fields_that_take_text_open_it(self):
        before = display.capture()
        self.kiosk.open_page(server.url("/kinds.html"))
        self.wait_screen(before, h.PAGE_AREA, 5, "the page of controls was not shown", same=False, pixels=2000)
        display.settled_capture().keep("focus-keyboard-kinds")
        for index, (kind, _, opens) in enumerate(KINDS):
            with self.subTest(kind=kind):
                left, top = kind_place(index)
                display.click(*h.page_to_screen(left + KIND_SIZE[0] // 2, top + KIND_SIZE[1] // 2))
                opened = h.poll_until(keyboard_shown, 5 if opens else 1.5, 0.1)
                self.expect(bool(opened) == opens, f"a tap on the {kind} control {'did not open' if opens else 'opened'} "
                                                   "the keyboard")
                display.click(*BLANK)
                self.wait_keyboard(False, f"the keyboard stayed after the {kind} control lost the focus")

    def test_a_keyboard_opened_by_its_button_stays_until_the_button_closes_it(self):
        display.click(*KEYBOARD_BUTTON)
        self.wait_keyboard(True, "the keyboard button did not open the keyboard")
        display.click(*FIELD_CENTRE)
        display.click(*BLANK)
        closed = h.poll_until(lambda: not keyboard_shown(), 1.5, 0.1)
        self.expect(not closed, "the keyboard the button opened went when the field lost the focus")
        display.click(*KEYBOARD_BUTTON)
        self.wait_keyboard(False, "the keyboard button did not close the keyboard")

    def test_the_shutdown_panels_password_field_opens_it(self):
        self.open_shutdown_panel()
        self.wait_keyboard(True, "the shutdown panel's password field did not open the keyboard")
        display.settled_capture().keep("focus-keyboard-shutdown-panel")
        display.key("Escape")
        self.wait_keyboard(False, "the keyboard stayed after the shutdown panel closed")


class NoFocusKeyboardTests(h.KioskTestCase):
    def test_a_tap_opens_nothing_when_off_or_without_a_touch_screen(self):
        for name, setting in (("never", "0"), ("touch-screen-only", "1")):
            with self.subTest(name=name):
                kiosk = start_kiosk(f"focus-{name}", setting)
                self.start_own_kiosk(kiosk, server.url("/focus.html"))
                display.settled_capture()
                display.click(*FIELD_CENTRE)
                opened = h.poll_until(keyboard_shown, 2, 0.1)
                self.expect(not opened, f"KeyboardOnFocus={setting} opened the keyboard", kiosk)
                kiosk.stop()


if __name__ == "__main__":
    unittest.main()
