"""End-to-end tests of `plintor --send screenshot FILE`: the kiosk draws its own window (page
and panels) into a PNG that looks like the screen as the display server shows it, writes it
only where it may, and says in its log and to the sender what it refused.

Run through tests/e2e/run_e2e.sh test_screenshot (CTest: e2e_screenshot).
"""

import os
import stat

import harness as h

display = server = None


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    # Colours and a pattern in the page, so that a shifted or scaled picture shows.
    stripes = "".join(f"<div style='height:40px;background:{colour}'></div>"
                      for colour in ("#c0392b", "#27ae60", "#2980b9", "#f1c40f") * 3)
    server.add_page("/home.html", f"<!doctype html><title>Home</title><body style='margin:0;background:#8e44ad'>{stripes}")


def tearDownModule():
    h.stop_everything()


class ScreenshotTests(h.KioskTestCase):
    @classmethod
    def setUpClass(cls):
        config = {"Button1Width": 120, "Button1URL": server.url("/home.html"), "Button1Caption": "Home",
                  "KillExplorer": "False", "ProgressIndicator": "False"}
        kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name="screenshot")
        cls.start_shared_kiosk(kiosk, server.url("/home.html"))
        cls.folder = cls.temporary_folder("screenshot")

    def screenshot(self, file):
        """The sender's exit code and standard error; it runs in the kiosk's root folder."""
        result = self.kiosk.run_sender("--send", "screenshot", file)
        return result.returncode, result.stderr.decode(errors="replace")

    def test_picture_of_the_window_as_the_screen_shows_it(self):
        self.kiosk.wait_colour((640, 600), (0x8e, 0x44, 0xad), "the page's background was not drawn")
        screen = display.settled_capture()
        file = os.path.join(self.folder, "kiosk.png")
        since = self.kiosk.mark()
        code, errors = self.screenshot(file)
        self.expect(code == 0, f"--send screenshot failed with {code}: {errors}")
        self.kiosk.wait_log(rf"^Screenshot: {file}$", timeout=5, since=since)
        with open(file, "rb") as written:
            picture = h.Image.from_png(written.read())
        picture.keep("screenshot-by-the-kiosk")
        screen.keep("screenshot-by-the-display")
        self.expect((picture.width, picture.height) == (h.SCREEN_WIDTH, h.SCREEN_HEIGHT),
                    f"the picture is {picture.width}x{picture.height}, the window {h.SCREEN_WIDTH}x{h.SCREEN_HEIGHT}")
        # The same drawing, read two ways: only anti-aliased edges may differ a little.
        differing = picture.changed_pixels(screen, tolerance=48)
        self.expect(differing < picture.width * picture.height // 100,
                    f"{differing} pixels differ from the display's picture ({picture.path}, {screen.path})")
        self.expect(stat.S_IMODE(os.stat(file).st_mode) == 0o600, "the picture is readable by others")
        self.expect(not [name for name in os.listdir(self.folder) if name != "kiosk.png"],
                    f"a temporary file stayed: {os.listdir(self.folder)}")
        # The kiosk runs in a folder of its own: a relative name is the sender's.
        code, errors = self.screenshot("relative.png")
        self.expect(code == 0 and os.path.isfile(os.path.join(self.kiosk.root, "relative.png")),
                    f"a relative name: code {code}, errors {errors!r}")

    def test_refused_where_it_may_not_write(self):
        target = os.path.join(self.folder, "precious.txt")
        with open(target, "w") as precious:
            precious.write("keep me")
        link = os.path.join(self.folder, "link.png")
        os.symlink(target, link)
        subfolder = os.path.join(self.folder, "a-folder")
        os.mkdir(subfolder)
        cases = [
            (os.path.join(self.folder, "missing", "x.png"), f"the folder {self.folder}/missing does not exist"),
            (link, "a symbolic link"),
            (subfolder, "not a regular file"),
        ]
        # A folder the kiosk cannot write: for root, whom permissions do not stop, a read-only
        # mount, which only a private mount namespace lets the test make.
        if os.geteuid() != 0:
            locked = os.path.join(self.folder, "locked")
            os.mkdir(locked, 0o500)
            cases.append((os.path.join(locked, "x.png"), "Permission denied"))
        elif h.in_private_namespace("mnt"):
            locked = os.path.join(self.folder, "read-only")
            os.mkdir(locked)
            h.run_tool(["mount", "--bind", locked, locked])
            self.addCleanup(h.run_tool, ["umount", locked], check=False)
            h.run_tool(["mount", "-o", "remount,bind,ro", locked])
            cases.append((os.path.join(locked, "x.png"), "Read-only file system"))
        for file, reason in cases:
            with self.subTest(file=file):
                since = self.kiosk.mark()
                code, errors = self.screenshot(file)
                self.expect(code == 1 and reason in errors, f"{file}: code {code}, errors {errors!r}")
                self.kiosk.wait_log(rf"^Screenshot not written: {file}: {reason}$", timeout=5, since=since)
        with open(target) as precious:
            self.expect(precious.read() == "keep me", "the file behind the link was changed")
        self.expect(os.path.islink(link), "the link was replaced")
        self.expect(self.kiosk.alive(), "the kiosk ended")
