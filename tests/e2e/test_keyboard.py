"""End-to-end tests of the on-screen keyboard and the input-language buttons: the session's XKB
groups (setxkbmap), buttons with flags and native names, typing into a page through injected key
strokes that follow the active language, and the sizes the configuration asks for."""

import os
import subprocess
import unittest
import urllib.parse

import harness as h

REPO_FLAGS = os.path.join(h.REPO, "resources", "flags", "24")
KEYBOARD_BUTTON = h.box_centre(h.KEYBOARD_BOX)
# The configured panel (194) and language buttons (28) at 96 DPI; at the design size both grow so
# that a key's face and a button are nine millimetres high: the panel to 224, the buttons to 37.
DESIGN_PANEL_HEIGHT = 194
DESIGN_BUTTON_HEIGHT = 28
PANEL_HEIGHT = h.KEYBOARD_PANEL_HEIGHT
PANEL_TOP = h.KEYBOARD_PANEL_TOP
MARGIN = h.KEYBOARD_MARGIN
BUTTON = (128, 37)
LANGUAGE_COLUMN = (MARGIN, PANEL_TOP + MARGIN, MARGIN + BUTTON[0], PANEL_TOP + MARGIN + 3 * BUTTON[1])
AD06 = h.KEY_AD06
KEYBOARD = ((h.SCREEN_WIDTH - 673) // 2, PANEL_TOP + MARGIN, (h.SCREEN_WIDTH + 673) // 2, h.SCREEN_HEIGHT - MARGIN)
# Wherever a panel of any size tested here may be; the page's blinking text cursor is above it.
ANY_PANEL = (0, h.SCREEN_HEIGHT - 2 * DESIGN_PANEL_HEIGHT, h.SCREEN_WIDTH, h.SCREEN_HEIGHT)

display = server = None


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def set_layouts(layouts):
    h.run_tool(["setxkbmap", "-layout", layouts], env=display.env())


def flag_colour(code):
    """The most frequent colour of a 24-pixel flag, away from its edge."""
    raw = subprocess.run(["convert", os.path.join(REPO_FLAGS, f"{code}.png"), "-crop", "20x20+2+2",
                          "-depth", "8", "ppm:-"], stdout=subprocess.PIPE, check=True, timeout=20).stdout
    image = h.Image.from_ppm(raw)
    counts = {}
    for offset in range(0, len(image.data), 3):
        colour = tuple(image.data[offset:offset + 3])
        counts[colour] = counts.get(colour, 0) + 1
    return max(counts, key=counts.get)


def typed_values(since):
    return [urllib.parse.parse_qs(urllib.parse.urlsplit(path).query).get("v", [""])[0]
            for path in server.paths(since) if path.startswith("/typed")]


class KeyboardCase(h.KioskTestCase):
    @classmethod
    def start_kiosk(cls, name, layouts, **settings):
        set_layouts(layouts)
        config = {"Button1Width": 120, "Button1URL": url("/type.html"), "Button1Caption": "Type",
                  "KillExplorer": "False", **settings}
        kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name=name)
        cls.start_shared_kiosk(kiosk, url("/type.html"))

    def open_keyboard(self):
        """Opens the keyboard panel unless it is open already; a picture of the screen."""
        before = display.capture()
        if before.colour_share((0x80, 0x80, 0x80), (400, PANEL_TOP + MARGIN + 1, 800, PANEL_TOP + MARGIN + 3), 20, 1) > 0.5:
            return before
        display.click(*KEYBOARD_BUTTON)

        def opened():
            image = display.capture()
            return image if image.changed_pixels(before, (0, PANEL_TOP, h.SCREEN_WIDTH, h.SCREEN_HEIGHT)) > 5000 else None

        image = h.poll_until(opened, 5, 0.2)
        self.expect(image is not None, "the keyboard button did not open the keyboard")
        return display.settled_capture(ANY_PANEL)

    def language_log(self):
        """The text of the block the language buttons logged: the lines after the stamp line."""
        entries = self.kiosk.read_log()
        for index, entry in enumerate(entries):
            if entry.text == "" and entry.stamp:
                following = entries[index + 1].text if index + 1 < len(entries) else ""
                return following.split("\n") if following.startswith("Keyboard layout: ") else []
        self.kiosk.fail("no stamp line for the language buttons in the log")


class LanguageButtonTests(KeyboardCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("languages", "us,de,fr")

    def test_one_button_per_language_with_flag_and_log_lines(self):
        self.expect(self.language_log() == ["Keyboard layout: 04090409 - English (United States)",
                                            "Keyboard layout: 04070407 - German (Germany)",
                                            "Keyboard layout: 040C040C - French (France)"],
                    f"the language lines are {self.language_log()}")
        image = self.open_keyboard()
        image.keep("language-buttons")
        for row, code in enumerate(("US", "DE", "FR")):
            top = PANEL_TOP + MARGIN + row * BUTTON[1]
            box = (MARGIN, top, MARGIN + 40, top + BUTTON[1])
            share = image.colour_share(flag_colour(code), box, tolerance=30, step=1)
            self.expect(share > 0.05, f"the {code} flag is not on button {row + 1} ({share:.1%})")

    def test_buttons_switch_the_language_the_keyboard_types_in(self):
        self.kiosk.open_page(url("/type.html"))
        self.open_keyboard()
        since = server.mark()
        for button_row in (1, 0):  # Deutsch, then English
            keys = display.capture()
            display.click(MARGIN + BUTTON[0] // 2, PANEL_TOP + MARGIN + button_row * BUTTON[1] + BUTTON[1] // 2)
            # The keys are labelled anew once the kiosk has made the language the active one.
            self.wait_screen(keys, KEYBOARD, 5, "the keyboard's keys did not change with the language button",
                             same=False, pixels=200)
            display.click(*AD06)
        arrived = h.poll_until(lambda: "zy" in typed_values(since), 10)
        self.expect(arrived, f"the page received {typed_values(since)}, not z (German) then y (English)")

    def test_a_language_changed_elsewhere_is_marked(self):
        image = self.open_keyboard()
        h.lock_keyboard_group(display, 2)
        changed = h.poll_until(lambda: display.capture().changed_pixels(image, LANGUAGE_COLUMN) > 100, 2, 0.1)
        display.screenshot("language-changed-elsewhere")
        h.lock_keyboard_group(display, 0)
        self.expect(changed, "the French button was not marked after the group changed elsewhere")


class NoLanguageButtonTests(KeyboardCase):
    def test_no_buttons_with_one_language_or_without_the_keyboard_button(self):
        for name, layouts, settings in (("one-layout", "us", {}),
                                        ("no-keyboard", "us,de,fr", {"TouchKeyboard": "False"})):
            with self.subTest(name=name):
                self.start_kiosk(name, layouts, **settings)
                self.expect(self.language_log() == [], f"language lines were logged: {self.language_log()}")
                stamped = [e for e in self.kiosk.read_log() if e.text == "" and e.stamp]
                self.expect(len(stamped) == 1, "the stamp line is missing")
                self.kiosk.stop()


class KeyboardSizeTests(KeyboardCase):
    @classmethod
    def setUpClass(cls):
        cls.start_kiosk("size-200", "us,de", TouchKeyboardSize="200")

    def test_size_200_doubles_panel_margins_and_buttons(self):
        image = self.open_keyboard()
        image.keep("keyboard-size-200")
        top = h.SCREEN_HEIGHT - 2 * DESIGN_PANEL_HEIGHT
        keyboard_top = top + 2 * MARGIN
        gradient = (0x80, 0x80, 0x80)  # the keyboard's top colour
        self.expect(image.colour_share(gradient, (900, keyboard_top + 1, 1100, keyboard_top + 3), 20, 1) > 0.5,
                    "the keyboard does not start twice as far up with twice the margin")
        self.expect(image.colour_share(gradient, (900, keyboard_top - 6, 1100, keyboard_top - 2), 20, 1) < 0.1,
                    "the keyboard starts higher than twice the margin")
        second_button = (2 * MARGIN + 4, top + 2 * MARGIN + 2 * DESIGN_BUTTON_HEIGHT + 2, 2 * MARGIN + 40,
                         top + 2 * MARGIN + 4 * DESIGN_BUTTON_HEIGHT - 2)
        share = image.colour_share(flag_colour("DE"), second_button, tolerance=30, step=1)
        self.expect(share > 0.05, f"the second button is not twice as high ({share:.1%} of its flag's colour)")


if __name__ == "__main__":
    unittest.main()
