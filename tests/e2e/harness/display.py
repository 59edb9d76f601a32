"""The X display the kiosk runs on: Xvfb on a display number it picks itself (no race with other
servers), openbox as window manager, input through xdotool, window queries and screenshots."""

import os
import re
import shutil
import subprocess
import tempfile
import time

from .images import Image
from .layout import SCREEN_HEIGHT, SCREEN_WIDTH
from .processes import HarnessError, kill_process_tree, poll_until, read_line, register, run_tool, unregister


class XDisplay:
    """Xvfb, optionally with openbox as window manager."""

    def __init__(self, width=SCREEN_WIDTH, height=SCREEN_HEIGHT, dpi=96, window_manager=True):
        self.width, self.height, self.dpi = width, height, dpi
        self.window_manager = window_manager
        self.name = None
        self._xvfb = None
        self._wm = None
        self._logs = tempfile.mkdtemp(prefix="plintor-e2e-x-")
        register(self)

    def __repr__(self):
        return f"XDisplay({self.name})"

    def start(self, timeout=20):
        read_end, write_end = os.pipe()
        args = ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                f"{self.width}x{self.height}x24", "-nolisten", "tcp"]
        if self.dpi:
            args += ["-dpi", str(self.dpi)]
        if self.dpi and self.dpi != 96:
            # Xvfb's RandR monitor claims 96 DPI millimetres whatever -dpi says; without RandR
            # the toolkit takes the screen's own millimetres, which -dpi sets.
            args += ["-extension", "RANDR"]
        try:
            with open(os.path.join(self._logs, "xvfb.txt"), "wb") as output:
                self._xvfb = subprocess.Popen(args, pass_fds=(write_end,), start_new_session=True,
                                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=output)
        except FileNotFoundError:
            os.close(read_end)
            raise HarnessError("Xvfb is not installed (package xvfb)")
        finally:
            os.close(write_end)
        try:
            number = read_line(read_end, timeout, "Xvfb")
        except HarnessError as error:
            raise HarnessError(f"{error}: {self._tail('xvfb.txt')}") from None
        finally:
            os.close(read_end)
        self.name = ":" + number
        if self.window_manager:
            self._start_window_manager(timeout)
        return self

    def start_window_manager(self, timeout=20, key_bindings=True):
        """openbox on a display started without it: a window manager that comes after the kiosk
        finds the kiosk's key combinations taken. key_bindings=False leaves it without any, so
        that a combination taken on the display can only be the kiosk's."""
        if self._wm is None or self._wm.poll() is not None:
            self._start_window_manager(timeout, key_bindings)
        return self

    def _start_window_manager(self, timeout, key_bindings=True):
        args = ["openbox", "--sm-disable"]
        if not key_bindings:
            config = os.path.join(self._logs, "openbox-rc.xml")
            with open(config, "w") as out:
                out.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                          '<openbox_config xmlns="http://openbox.org/3.4/rc"><keyboard/></openbox_config>\n')
            args += ["--config-file", config]
        # One that ends at once is started once more; it says why on its standard output.
        for _ in range(2):
            with open(os.path.join(self._logs, "openbox.txt"), "ab") as output:
                self._wm = subprocess.Popen(args, env=self.env(), start_new_session=True,
                                            stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)
            state = poll_until(self._window_manager_state, timeout)
            if state is None:
                raise HarnessError(f"openbox did not take the display within {timeout} s")
            if state == "managed":
                return
        raise HarnessError(f"openbox ended at start (code {self._wm.returncode}): {self._tail('openbox.txt')}")

    def _window_manager_state(self):
        """"ended", "managed", or None while openbox runs and has not taken the display yet."""
        if self._wm.poll() is not None:
            return "ended"
        result = run_tool(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(), check=False)
        return "managed" if b"window id" in result.stdout else None

    def _tail(self, name):
        try:
            with open(os.path.join(self._logs, name), "rb") as log:
                return log.read()[-2000:].decode(errors="replace")
        except OSError:
            return ""

    def millimetres(self):
        """The screen's physical size as X reports it to its clients: (width, height)."""
        out = run_tool(["xdpyinfo"], env=self.env()).stdout.decode(errors="replace")
        found = re.search(r"dimensions:\s+\d+x\d+ pixels \((\d+)x(\d+) millimeters\)", out)
        if not found:
            raise HarnessError(f"xdpyinfo named no screen size: {out[:500]}")
        return int(found.group(1)), int(found.group(2))

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def stop(self):
        unregister(self)
        for process in (self._wm, self._xvfb):
            if process is not None:
                kill_process_tree(process)
        self._wm = self._xvfb = None
        shutil.rmtree(self._logs, ignore_errors=True)

    # -- input -----------------------------------------------------------------------------

    def xdotool(self, *args):
        return run_tool(["xdotool", *[str(a) for a in args]], env=self.env())

    def move(self, x, y):
        self.xdotool("mousemove", x, y)
        # Hover has no sign to wait for; this lets the page see it before anything else happens.
        time.sleep(0.15)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", button)

    def key(self, *combos):
        """Key combinations in xdotool's notation, e.g. key("ctrl+shift+F4", "Escape")."""
        self.xdotool("key", "--delay", "60", *combos)

    def type_text(self, text):
        self.xdotool("type", "--delay", "40", "--", text)

    # -- windows ---------------------------------------------------------------------------

    def top_level_windows(self):
        """Ids of the mapped children of the root window: every frame the window manager drew
        and every override-redirect window (menus, tool tips)."""
        out = run_tool(["xwininfo", "-root", "-children"], env=self.env()).stdout.decode(errors="replace")
        ids = re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M)
        mapped = set()
        for window in ids:
            info = run_tool(["xwininfo", "-id", window, "-stats"], env=self.env(), check=False)
            text = info.stdout.decode(errors="replace")
            if "IsViewable" in text:
                mapped.add(window)
        return mapped

    def find_windows(self, *criteria, visible=True):
        """Ids of the windows that xdotool search finds, e.g. find_windows("--class", "^tint2$")."""
        args = ["xdotool", "search", *(["--onlyvisible"] if visible else []), *[str(c) for c in criteria]]
        return run_tool(args, env=self.env(), check=False).stdout.decode().split()

    def window_summary(self, ids):
        lines = []
        for window in sorted(ids):
            info = run_tool(["xwininfo", "-id", window, "-stats"], env=self.env(), check=False)
            text = info.stdout.decode(errors="replace")
            name = re.search(r"Window id: \S+ (.*)", text)
            size = re.search(r"-geometry (\S+)", text)
            lines.append(f"{window} {name.group(1) if name else '?'} {size.group(1) if size else '?'}")
        return "; ".join(lines)

    # -- screen ----------------------------------------------------------------------------

    def capture(self):
        """The whole screen as an Image, not kept on disk."""
        raw = run_tool(["import", "-display", self.name, "-window", "root", "-depth", "8", "ppm:-"],
                       env=self.env()).stdout
        return Image.from_ppm(raw)

    def screenshot(self, name):
        """Captures the whole screen and keeps it (see Image.keep)."""
        return self.capture().keep(name)

    def settled_capture(self, box=None, timeout=10):
        """A picture of the screen once three in a row agree inside box (the whole screen by
        default): whatever was being drawn there is finished. After timeout seconds the latest
        picture, settled or not, for the comparison that follows to judge. A box keeps out what
        never settles, such as a blinking text cursor."""
        pictures = [self.capture()]

        def settled():
            pictures.append(self.capture())
            del pictures[:-3]
            return len(pictures) == 3 and all(picture.changed_pixels(pictures[-1], box) == 0
                                              for picture in pictures[:-1])

        poll_until(settled, timeout, 0.3)
        return pictures[-1]
