"""End-to-end tests of the kiosk's own controls for visitors who touch them and visitors who
listen to them: read over the real AT-SPI bus (a private session bus, at-spi2-core's bus
launcher and registry), every control and panel has its name and role; at 96 and 192 DPI every
control and every key of the on-screen keyboard measures at least nine millimetres, and none
overlaps another.

A scene is what has to be brought up before its controls exist (the keyboard, the shutdown
panel, the return warning); CONTROLS names, per scene, what a screen reader must find."""

import math
import sys
import unittest

import harness as h

TOUCH_MM = 9
LAYOUTS = "us,de"

# (scene, AT-SPI role, accessible name[, how many]); the scenes are the methods scene_<name> of
# Scenes, in the order of SCENES. The warning comes first, while no input has moved the kiosk's
# idle timing on. A name found more than once is a row with its count: the answers over the page
# have a "Home" of their own beside the panel's.
CONTROLS = [
    ("start", "tool bar", "Navigation"),
    ("start", "push button", "Back"),
    ("start", "push button", "Forward"),
    ("start", "push button", "Home"),  # icon only: the home image
    ("start", "push button", "Library"),  # by its caption
    ("start", "push button", "@tiny"),  # icon only, not the first: by its address
    ("start", "push button", "Zoom out"),
    ("start", "push button", "Zoom in"),
    ("start", "push button", "Keyboard"),
    ("start", "tool bar", "Wheelchair bar"),
    ("start", "push button", "Wheelchair layout"),
    ("blocked", "alert", "Address blocked"),
    ("blocked", "push button", "Back", 2),
    ("blocked", "push button", "Home", 2),
    ("unavailable", "alert", "Page not available"),
    ("unavailable", "push button", "Home", 2),
    ("keyboard", "panel", "On-screen keyboard"),
    ("keyboard", "push button", "English"),
    ("keyboard", "push button", "Deutsch"),
    ("shutdown", "dialog", "Shutdown panel"),
    ("shutdown", "password text", "Password"),
    ("shutdown", "push button", "Shut down"),
    ("shutdown", "push button", "Restart"),
    ("shutdown", "push button", "Log off"),
    ("shutdown", "push button", "Exit"),
    ("warning", "alert", "Return to the home page"),
    ("warning", "push button", "Continue"),
]
SCENES = ["start", "warning", "blocked", "unavailable", "keyboard", "shutdown"]
TOUCHED_ROLES = {"push button", "toggle button", "password text", "text", "entry"}


def touch_pixels(dpi):
    return math.ceil(TOUCH_MM * dpi / 25.4)


def millimetres(pixels, dpi):
    return pixels * 25.4 / dpi


def expected_name(name, server):
    return server.url("/allowed.html?tiny") if name == "@tiny" else name


def dead_address():
    return f"http://127.0.0.1:{DEAD_PORT}/gone.html"


def kiosk_config(server):
    return {"Button1Width": 120, "Button1URL": server.url("/index.html"), "Button1Caption": "#",
            "Button2Width": 150, "Button2URL": server.url("/allowed.html"), "Button2Caption": "Library",
            # Narrower than a finger: it has to grow.
            "Button3Width": 20, "Button3URL": server.url("/allowed.html?tiny"), "Button3Caption": "#",
            "KillExplorer": "False", "ProgressIndicator": "False", "Wheelchair": "30", "ZoomButtons": "True",
            # The notice comes after five idle seconds, the return after a minute.
            "AutoReturn": "1", "ReturnWarning": "55"}


def find(tree, role, name):
    return [o for o in tree if o.role == role and o.name == name]


def light(pixel):
    """A key's face (white to light grey), not the keyboard's darker ground or an outline."""
    return min(pixel) >= 0xD0 and max(pixel) - min(pixel) <= 8


def runs(values):
    """(start, length) of each run of true values."""
    found, start = [], None
    for index, value in enumerate(values + [False]):
        if value and start is None:
            start = index
        elif not value and start is not None:
            found.append((start, index - start))
            start = None
    return found


def key_sizes(image, extents):
    """(narrowest width, height) of the keys of the top row of the keyboard drawn in extents,
    outline included, measured on the screen: across the row just below the keys' top edge
    (above their captions), and down the narrowest key a quarter into it (beside its caption)."""
    x, y, width, height = extents
    column = x + width // 2
    top = next((row for row in range(y, y + height) if light(image.pixel(column, row))), None)
    if top is None:
        return None
    across = top + 3
    faces = runs([light(image.pixel(col, across)) for col in range(x, x + width)])
    start, narrowest = min(faces, key=lambda run: run[1])
    down = x + start + narrowest // 4
    face_height = runs([light(image.pixel(down, row)) for row in range(top, y + height)])[0][1]
    return narrowest + 2, face_height + 2


class Scenes:
    """Brings up each scene on one kiosk and reads its tree once its marker is there."""

    def __init__(self, kiosk, bus, server):
        self.kiosk, self.display, self.bus, self.server = kiosk, kiosk.display, bus, server

    def tree_with(self, role, name, timeout, what):
        found = []

        def read():
            found[:] = self.bus.tree()
            return find(found, role, name)

        if not h.poll_until(read, timeout, 0.5):
            names = sorted({f"{o.role} {o.name!r}" for o in found if o.name})
            self.kiosk.fail(f"{what}: no {role} {name!r} in the accessibility tree within {timeout} s; "
                                    f"it holds {names}")
        return found

    def centre_of(self, tree, role, name):
        x, y, width, height = find(tree, role, name)[0].extents
        return x + width // 2, y + height // 2

    def scene_start(self):
        return self.tree_with("push button", "Back", 30, "the kiosk's start")

    def scene_keyboard(self):
        self.display.click(*self.centre_of(self.bus.tree(), "push button", "Keyboard"))
        return self.tree_with("panel", "On-screen keyboard", 10, "the keyboard button")

    def scene_shutdown(self):
        self.display.key("ctrl+shift+F4")
        return self.tree_with("dialog", "Shutdown panel", 10, "Control+Shift+F4")

    def scene_warning(self):
        # Away from the untouched home page (which no return reloads), by the channel: no input.
        self.kiosk.open_page(self.server.url("/allowed.html"))
        return self.tree_with("alert", "Return to the home page", 30, "five idle seconds away from home")

    def scene_blocked(self):
        self.kiosk.send_navigate("http://blocked.test/")
        return self.tree_with("alert", "Address blocked", 10, "a blocked address")

    def leave_blocked(self, tree):
        x, y, width, _ = find(tree, "alert", "Address blocked")[0].extents
        self.display.click(x + width // 2, y + 10)  # on the panel, off its buttons
        if not h.poll_until(lambda: not find(self.bus.tree(), "alert", "Address blocked"), 10, 0.5):
            self.kiosk.fail("a touch did not take the blocked answer away")

    def scene_unavailable(self):
        self.kiosk.send_navigate(dead_address())
        return self.tree_with("alert", "Page not available", 20, "an address nobody answers")

    def leave_unavailable(self, tree):
        x, y, width, height = find(tree, "alert", "Page not available")[0].extents
        inside = [o for o in tree if x <= o.extents[0] < x + width and y <= o.extents[1] < y + height]
        self.display.click(*self.centre_of(inside, "push button", "Home"))
        if not h.poll_until(lambda: not find(self.bus.tree(), "alert", "Page not available"), 10, 0.5):
            self.kiosk.fail("the kiosk's own Home did not take its page away")

    def leave_warning(self, tree):
        self.display.click(*self.centre_of(tree, "push button", "Continue"))
        if not h.poll_until(lambda: not find(self.bus.tree(), "alert", "Return to the home page"), 10, 0.5):
            self.kiosk.fail("Continue, found by its name, did not take the return warning away")

    def all(self):
        """{scene: (tree, screenshot)} for every scene, in order."""
        shown = {}
        for scene in SCENES:
            tree = getattr(self, f"scene_{scene}")()
            shown[scene] = (tree, self.display.settled_capture(timeout=5).keep(f"a11y-{scene}-{self.display.dpi}dpi"))
            leave = getattr(self, f"leave_{scene}", None)
            if leave:
                leave(tree)
        return shown


class KioskOnScreen:
    """A display at a DPI with the accessibility bus and a kiosk on it; every scene shown."""

    def __init__(self, server, dpi, cleanup):
        """cleanup: where the display, the bus and the kiosk are ended (a class's or a test's)."""
        factor = dpi // 96
        self.display = h.XDisplay(width=h.SCREEN_WIDTH * factor, height=h.SCREEN_HEIGHT * factor, dpi=dpi).start()
        cleanup(self.display.stop)
        h.run_tool(["setxkbmap", "-layout", LAYOUTS], env=self.display.env())
        self.bus = h.AccessibilityBus(self.display).start()
        cleanup(self.bus.stop)
        self.kiosk = h.Kiosk(self.display, config=kiosk_config(server),
                             whitelist=[f"http://127.0.0.1:{server.port}/*", f"http://127.0.0.1:{DEAD_PORT}/*"],
                             name=f"a11y-{dpi}", extra_env=self.bus.env())
        cleanup(self.kiosk.stop)
        self.kiosk.start(wait_home=server.url("/index.html"))
        self.scenes = Scenes(self.kiosk, self.bus, server).all()


server = None
DEAD_PORT = None  # a port nobody listens on


def setUpModule():
    global server, DEAD_PORT
    server = h.WebServer().start()
    DEAD_PORT = h.free_tcp_port()


def tearDownModule():
    h.stop_everything()


class ScreenReaderTests(h.KioskTestCase):
    @classmethod
    def setUpClass(cls):
        cls.screen = KioskOnScreen(server, 96, cls.addClassCleanup)
        cls.kiosk = cls.screen.kiosk

    def test_every_control_has_its_name_and_role(self):
        for scene, role, name, *count in CONTROLS:
            with self.subTest(scene=scene, name=name):
                tree, _ = self.screen.scenes[scene]
                found = find(tree, role, expected_name(name, server))
                self.expect(len(found) == (count or [1])[0], f"{scene}: {len(found)} objects are a {role} named "
                                             f"{expected_name(name, server)!r}; the named ones: "
                                             f"{sorted({(o.role, o.name) for o in tree if o.name})}")

    def test_the_active_language_is_pressed_and_the_panel_is_modal(self):
        tree, _ = self.screen.scenes["keyboard"]
        pressed = {o.name for o in tree if o.role == "push button" and "pressed" in o.states}
        self.expect(pressed == {"English"}, f"the pressed language buttons are {pressed}, not English alone")
        tree, _ = self.screen.scenes["shutdown"]
        self.expect("modal" in find(tree, "dialog", "Shutdown panel")[0].states, "the shutdown panel is not modal")


class TouchSizeTests(h.KioskTestCase):
    """Each DPI on a screen of the same physical size (338 x 211 mm), where the keyboard fits."""

    def check_sizes(self, dpi):
        screen = KioskOnScreen(server, dpi, self.addCleanup)
        self.expect(screen.display.millimetres()[0] in (338, 339),
                    f"the display claims {screen.display.millimetres()} mm, not a 338 mm wide screen")
        least = touch_pixels(dpi)
        report = []
        for scene, (tree, image) in screen.scenes.items():
            touched = [o for o in tree if o.role in TOUCHED_ROLES and o.name]
            for control in touched:
                _, _, width, height = control.extents
                report.append(f"{dpi} dpi {scene}: {control.role} {control.name!r} {width}x{height} px = "
                              f"{millimetres(width, dpi):.1f}x{millimetres(height, dpi):.1f} mm")
                self.expect(min(width, height) >= least,
                            f"{scene}: the {control.role} {control.name!r} is {width}x{height} px at {dpi} DPI, "
                            f"under {TOUCH_MM} mm ({least} px); see {image.path}", screen.kiosk)
                x, y, _, _ = control.extents
                self.expect(x >= 0 and y >= 0 and x + width <= screen.display.width
                            and y + height <= screen.display.height,
                            f"{scene}: the {control.name!r} is cut by the screen's edge at {control.extents}", screen.kiosk)
            self.check_no_overlap(scene, touched + find(tree, "filler", "Keys"), image, screen.kiosk)
        keys = find(screen.scenes["keyboard"][0], "filler", "Keys")
        self.expect(keys, "no keys in the keyboard scene", screen.kiosk)
        sizes = key_sizes(screen.scenes["keyboard"][1], keys[0].extents)
        self.expect(sizes is not None, "no key found on the keyboard's picture", screen.kiosk)
        report.append(f"{dpi} dpi keyboard: narrowest key {sizes[0]}x{sizes[1]} px = "
                      f"{millimetres(sizes[0], dpi):.1f}x{millimetres(sizes[1], dpi):.1f} mm")
        self.expect(min(sizes) >= least, f"a key is {sizes[0]}x{sizes[1]} px at {dpi} DPI, under {least} px; "
                                         f"see {screen.scenes['keyboard'][1].path}", screen.kiosk)
        print("\n".join(report), file=sys.stderr)

    def check_no_overlap(self, scene, controls, image, kiosk):
        for index, first in enumerate(controls):
            for second in controls[index + 1:]:
                ax, ay, aw, ah = first.extents
                bx, by, bw, bh = second.extents
                overlap = ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah
                self.expect(not overlap, f"{scene}: {first} overlaps {second}; see {image.path}", kiosk)

    def test_controls_are_touch_sized_at_96_dpi(self):
        self.check_sizes(96)

    def test_controls_are_touch_sized_at_192_dpi(self):
        self.check_sizes(192)


if __name__ == "__main__":
    unittest.main()
