"""The base of the end-to-end test groups."""

import shutil
import tempfile
import unittest

from .layout import PAGE_AREA
from .processes import poll_until


class KioskTestCase(unittest.TestCase):
    """Checks that fail with the kiosk's evidence (a screenshot, its log tail and program output)
    rather than a bare assertion, and waits on its screen. A group that shares one kiosk keeps
    it in `kiosk`; a test with a kiosk of its own passes that one to the checks."""

    kiosk = None

    @classmethod
    def start_shared_kiosk(cls, kiosk, home=None):
        """Starts kiosk for the whole group, waiting for home when given; it is ended after the
        group's last test."""
        cls.addClassCleanup(kiosk.stop)
        cls.kiosk = kiosk.start(wait_home=home)
        return cls.kiosk

    @classmethod
    def temporary_folder(cls, name):
        """A folder of the group's own (the kiosk's TMPDIR, say), removed after its last test."""
        folder = tempfile.mkdtemp(prefix=f"plintor-e2e-{name}-tmp-")
        cls.addClassCleanup(shutil.rmtree, folder, True)
        return folder

    def setUp(self):
        # A kiosk that died in an earlier test would fail this one for reasons of its own.
        if self.kiosk is not None and not self.kiosk.alive():
            self.kiosk.fail("the kiosk of this group is no longer running")

    def start_own_kiosk(self, kiosk, home, cleanup=None):
        """Starts kiosk for this test, or for one case of it when cleanup (a callback of the
        case's ExitStack) ends the case."""
        (cleanup or self.addCleanup)(kiosk.stop)
        return kiosk.start(wait_home=home)

    def expect(self, condition, message, kiosk=None):
        if not condition:
            (kiosk or self.kiosk).fail(message)

    def wait_screen(self, reference, box, timeout, what, same=True, pixels=40, kiosk=None):
        """Waits until box looks like reference (same) or clearly differs from it (more than
        pixels pixels); the picture that showed it."""
        screen = (kiosk or self.kiosk).display

        def check():
            image = screen.capture()
            changed = image.changed_pixels(reference, box)
            return image if (changed <= pixels if same else changed > pixels) else None

        image = poll_until(check, timeout, 0.2)
        if image is None:
            changed = screen.capture().changed_pixels(reference, box)
            if reference.path is None:
                reference.keep("expected")
            self.expect(False, f"{what} (screen {'did not return to' if same else 'did not change from'} "
                               f"{reference.path} within {timeout} s; {changed} pixels differ)", kiosk)
        return image

    def open_shutdown_panel(self, kiosk=None):
        """Control+Shift+F4 over the settled page; the pictures before and after."""
        kiosk = kiosk or self.kiosk
        page = kiosk.display.settled_capture()
        kiosk.display.key("ctrl+shift+F4")
        panel = self.wait_screen(page, PAGE_AREA, 5, "Control+Shift+F4 did not open the shutdown panel",
                                 same=False, pixels=500, kiosk=kiosk)
        return page, panel
