"""End-to-end harness for the Plintor kiosk: a private X display, a local web server and the
kiosk process, driven with xdotool and watched through its log, its screen and the server.

Standard library only. Every wait has a deadline and everything started here is killed when
the run ends, also when it fails or is interrupted (SIGTERM/SIGINT/SIGHUP become exceptions so
that the clean-up still runs).
"""

import atexit
import ctypes
import datetime
import errno
import http.server
import itertools
import os
import re
import select
import shutil
import signal
import socket
import socketserver
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import zlib

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "site")

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 800

# Window geometry at 96 DPI, as the kiosk lays it out.
PANEL_HEIGHT = 65
BACK = (32, 32)
FORWARD = (88, 32)
FIRST_BUTTON_X = 120
BUTTON_GAP = 7
BUTTON_Y = 32

# The shutdown panel: a box of this size centred over the page area, its buttons (which take
# no keyboard focus) at these centres inside the box, the heading in this stripe of it. Tests
# only ever press Exit: the other three act on the machine that runs them once they work.
SHUTDOWN_BOX = (409, 193)
SHUTDOWN_BUTTONS = {"Shut down": (60, 132), "Restart": (156, 132), "Log off": (252, 132), "Exit": (348, 132)}
SHUTDOWN_HEADING = (24, 24, 385, 45)


def shutdown_box_origin():
    width, height = SHUTDOWN_BOX
    return (SCREEN_WIDTH - width) // 2, PANEL_HEIGHT + (SCREEN_HEIGHT - PANEL_HEIGHT - height) // 2


def shutdown_button(name):
    """Screen centre of a button of the shutdown panel."""
    left, top = shutdown_box_origin()
    x, y = SHUTDOWN_BUTTONS[name]
    return left + x, top + y


def shutdown_heading_box():
    left, top = shutdown_box_origin()
    x1, y1, x2, y2 = SHUTDOWN_HEADING
    return left + x1, top + y1, left + x2, top + y2


QUIT_TOKEN_KEY = 0x5EED1A57
MSG_NAVIGATE = 74
MSG_REMOTE_QUIT = 1280
MSG_START_HOME = 1281

COMMAND_TIMEOUT = 20  # any helper program (xdotool, import, ...) that takes longer is stuck


class HarnessError(AssertionError):
    """A wait that ran out or a helper that failed; an AssertionError so unittest reports a
    failure with the message rather than an error with a traceback only."""


# ---------------------------------------------------------------------------------------------
# Clean-up of everything this process started

_live = []  # objects with a stop() method, stopped in reverse order
_live_lock = threading.Lock()


def _register(thing):
    with _live_lock:
        _live.append(thing)


def _unregister(thing):
    with _live_lock:
        if thing in _live:
            _live.remove(thing)


def stop_everything():
    while True:
        with _live_lock:
            if not _live:
                return
            thing = _live.pop()
        try:
            thing.stop()
        except Exception as error:  # clean-up goes on with the rest
            print(f"harness: stopping {thing!r} failed: {error}", file=sys.stderr)


def _on_signal(number, _frame):
    # The default action would end the process without any clean-up; as an exception the
    # finally blocks and the atexit clean-up still run.
    signal.signal(number, signal.SIG_DFL)
    raise KeyboardInterrupt(f"signal {number}")


atexit.register(stop_everything)
if threading.current_thread() is threading.main_thread():
    for _number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(_number, _on_signal)


def _descendants(pid):
    """Process ids below pid, read from /proc (WebEngine's helpers may leave the group)."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
            children.setdefault(int(fields[1]), []).append(int(entry))
        except (OSError, IndexError, ValueError):
            continue
    found, queue = [], [pid]
    while queue:
        for child in children.get(queue.pop(), []):
            found.append(child)
            queue.append(child)
    return found


def kill_process_tree(process, timeout=10):
    """SIGKILL for a process started with start_new_session=True, its group and every process
    below it; returns its exit code (None when it could not be reaped in time)."""
    if process.poll() is not None:
        return process.returncode
    below = _descendants(process.pid)
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    for pid in below:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


def run_tool(args, env=None, timeout=COMMAND_TIMEOUT, check=True, input_data=None):
    try:
        result = subprocess.run(args, env=env, input=input_data, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise HarnessError(f"{args[0]} did not finish within {timeout} s: {' '.join(args)}")
    except FileNotFoundError:
        raise HarnessError(f"{args[0]} is not installed (needed for the end-to-end tests)")
    if check and result.returncode != 0:
        raise HarnessError(
            f"{' '.join(args)} failed with {result.returncode}: "
            f"{result.stderr.decode(errors='replace').strip()}"
        )
    return result


def poll_until(condition, timeout, interval=0.1):
    """The first true value of condition() within timeout seconds, or None."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def artifacts_dir():
    global _artifacts
    if _artifacts is None:
        path = os.environ.get("PLINTOR_E2E_ARTIFACTS")
        if path:
            os.makedirs(path, exist_ok=True)
            _artifacts = os.path.abspath(path)
        else:
            _artifacts = tempfile.mkdtemp(prefix="plintor-e2e-artifacts-")
    return _artifacts


_artifacts = None


def free_tcp_port():
    """A port nothing listens on right now (for a server, or for a refused connection)."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


# ---------------------------------------------------------------------------------------------
# X display


class XDisplay:
    """Xvfb on a display number it picks itself (no race with other servers), optionally with
    openbox as window manager."""

    def __init__(self, width=SCREEN_WIDTH, height=SCREEN_HEIGHT, dpi=96, window_manager=True):
        self.width, self.height, self.dpi = width, height, dpi
        self.window_manager = window_manager
        self.name = None
        self._xvfb = None
        self._wm = None
        self._logs = tempfile.mkdtemp(prefix="plintor-e2e-x-")
        _register(self)

    def __repr__(self):
        return f"XDisplay({self.name})"

    def start(self, timeout=20):
        read_end, write_end = os.pipe()
        args = ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                f"{self.width}x{self.height}x24", "-nolisten", "tcp"]
        if self.dpi:
            args += ["-dpi", str(self.dpi)]
        try:
            with open(os.path.join(self._logs, "xvfb.txt"), "wb") as output:
                self._xvfb = subprocess.Popen(args, pass_fds=(write_end,), start_new_session=True,
                                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=output)
        except FileNotFoundError:
            os.close(read_end)
            os.close(write_end)
            raise HarnessError("Xvfb is not installed (package xvfb)")
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + timeout
        try:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise HarnessError(f"Xvfb did not report a display within {timeout} s")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise HarnessError(f"Xvfb ended at start: {self._tail('xvfb.txt')}")
                number += chunk
        finally:
            os.close(read_end)
        self.name = ":" + number.decode().strip()
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
        with open(os.path.join(self._logs, "openbox.txt"), "wb") as output:
            self._wm = subprocess.Popen(args, env=self.env(), start_new_session=True,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=output)

        def managed():
            if self._wm.poll() is not None:
                raise HarnessError(f"openbox ended at start: {self._tail('openbox.txt')}")
            result = run_tool(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(), check=False)
            return b"window id" in result.stdout

        if not poll_until(managed, timeout):
            raise HarnessError(f"openbox did not take the display within {timeout} s")

    def _tail(self, name):
        try:
            with open(os.path.join(self._logs, name), "rb") as log:
                return log.read()[-2000:].decode(errors="replace")
        except OSError:
            return ""

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def stop(self):
        _unregister(self)
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
        time.sleep(0.15)  # lets the page see the hover before anything else happens

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


class Image:
    """An RGB picture of the screen with the few comparisons the tests need."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data
        self.path = None

    @classmethod
    def from_ppm(cls, raw):
        match = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+(\d+)\s", raw)
        if not match or int(match.group(3)) != 255:
            raise HarnessError("import did not deliver an 8-bit PPM picture")
        width, height = int(match.group(1)), int(match.group(2))
        data = raw[match.end():match.end() + width * height * 3]
        if len(data) != width * height * 3:
            raise HarnessError("the screenshot is cut short")
        return cls(width, height, data)

    def keep(self, name):
        """Saves the picture as a PNG in the artefacts folder and prints where."""
        safe = re.sub(r"[^A-Za-z0-9_.-]+", "_", name)
        self.path = os.path.join(artifacts_dir(), f"{time.strftime('%H%M%S')}-{safe}.png")
        self.save_png(self.path)
        print(f"  screenshot: {self.path}", file=sys.stderr, flush=True)
        return self

    def save_png(self, path):
        stride = self.width * 3
        rows = b"".join(b"\0" + self.data[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(rows, 3)) + chunk(b"IEND", b""))

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def _clip(self, box):
        left, top, right, bottom = box
        return max(0, left), max(0, top), min(self.width, right), min(self.height, bottom)

    def changed_pixels(self, other, box=None, tolerance=24):
        """How many pixels inside box (left, top, right, bottom) differ from other by more
        than tolerance in some channel."""
        left, top, right, bottom = self._clip(box or (0, 0, self.width, self.height))
        count = 0
        for y in range(top, bottom):
            start = (y * self.width + left) * 3
            end = (y * self.width + right) * 3
            mine, theirs = self.data[start:end], other.data[start:end]
            if mine == theirs:
                continue
            for i in range(0, end - start, 3):
                if (abs(mine[i] - theirs[i]) > tolerance or abs(mine[i + 1] - theirs[i + 1]) > tolerance
                        or abs(mine[i + 2] - theirs[i + 2]) > tolerance):
                    count += 1
        return count

    def varied_rows(self, box, tolerance=16):
        """How many rows inside box hold more than one colour: 0 for an empty stretch of a
        panel, even one with a vertical gradient."""
        left, top, right, bottom = self._clip(box)
        count = 0
        for y in range(top, bottom):
            row = self.data[(y * self.width + left) * 3:(y * self.width + right) * 3]
            first = row[0:3]
            if any(abs(row[i + c] - first[c]) > tolerance for i in range(3, len(row), 3) for c in range(3)):
                count += 1
        return count

    def colour_share(self, colour, box=None, tolerance=24, step=4):
        """The share (0 to 1) of the pixels inside box that show colour, looking at every
        step-th pixel of every step-th row: enough to tell a covered screen from an uncovered one."""
        left, top, right, bottom = self._clip(box or (0, 0, self.width, self.height))
        seen = hits = 0
        for y in range(top, bottom, step):
            for x in range(left, right, step):
                offset = (y * self.width + x) * 3
                seen += 1
                if all(abs(self.data[offset + c] - colour[c]) <= tolerance for c in range(3)):
                    hits += 1
        return hits / seen if seen else 0.0


# ---------------------------------------------------------------------------------------------
# Other programs on the display


def _read_line(read_end, timeout, what):
    """The first line a helper writes to read_end (a descriptor), within timeout seconds."""
    text = b""
    deadline = time.monotonic() + timeout
    while b"\n" not in text:
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([read_end], [], [], left)[0]:
            raise HarnessError(f"{what} said nothing within {timeout} s")
        chunk = os.read(read_end, 256)
        if not chunk:
            raise HarnessError(f"{what} ended at start")
        text += chunk
    return text.split(b"\n", 1)[0].decode(errors="replace").strip()


def tagged_processes(tag):
    """Ids of the processes whose environment holds PLINTOR_E2E_TAG=tag."""
    wanted = f"PLINTOR_E2E_TAG={tag}".encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as environ:
                if wanted in environ.read().split(b"\0"):
                    found.append(int(entry))
        except OSError:
            continue
    return found


_client_numbers = itertools.count(1)


class XClient:
    """A program of the desktop on the display: a terminal, a panel, an event monitor. Its
    environment carries a tag of its own, so that a copy another program started from it (the
    kiosk starts the shell it stopped again at its exit, as a process of its own) is found and
    ended with it."""

    def __init__(self, display, args, name=None):
        self.display, self.args = display, [str(a) for a in args]
        self.name = name or os.path.basename(self.args[0])
        self.tag = f"{self.name}-{os.getpid()}-{next(_client_numbers)}"
        self.root = tempfile.mkdtemp(prefix=f"plintor-e2e-{self.name}-")
        self.output_path = os.path.join(self.root, "output.txt")
        self.process = None
        _register(self)

    def __repr__(self):
        return f"XClient({self.name}, pid={self.process.pid if self.process else None})"

    def start(self):
        env = self.display.env()
        env["HOME"] = self.root  # caches and settings it writes go with the run
        env["PLINTOR_E2E_TAG"] = self.tag
        try:
            with open(self.output_path, "wb") as output:
                self.process = subprocess.Popen(self.args, env=env, cwd=self.root, start_new_session=True,
                                                stdin=subprocess.DEVNULL, stdout=output,
                                                stderr=subprocess.STDOUT)
        except FileNotFoundError:
            raise HarnessError(f"{self.args[0]} is not installed (needed for the end-to-end tests)")
        return self

    @property
    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout):
        """The exit code, or None when it still runs after timeout seconds."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def processes(self):
        """Every live process started as this client, including copies started by others."""
        return [pid for pid in tagged_processes(self.tag) if process_state(pid) not in (None, "Z")]

    def output(self):
        try:
            with open(self.output_path, "rb") as output:
                return output.read().decode(errors="replace")
        except OSError:
            return ""

    def stop(self):
        _unregister(self)
        if self.process is not None:
            kill_process_tree(self.process)
        for pid in tagged_processes(self.tag):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.root, ignore_errors=True)


def process_state(pid):
    """The state letter of a process (R, S, T, Z, ...), None when there is none."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as stat:
            return stat.read().rsplit(b")", 1)[1].split()[0].decode()
    except (OSError, IndexError):
        return None


class _XErrorEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("display", ctypes.c_void_p), ("resourceid", ctypes.c_ulong),
                ("serial", ctypes.c_ulong), ("error_code", ctypes.c_ubyte), ("request_code", ctypes.c_ubyte),
                ("minor_code", ctypes.c_ubyte)]


class _XModifierKeymap(ctypes.Structure):
    _fields_ = [("max_keypermod", ctypes.c_int), ("modifiermap", ctypes.POINTER(ctypes.c_ubyte))]


_X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(_XErrorEvent))
_xlib = None
_x_errors = {}  # display connection -> error codes not yet looked at


@_X_ERROR_HANDLER
def _note_x_error(display, event):
    # Xlib's own handler would end this process at the first error; this one only notes it.
    _x_errors.setdefault(display, []).append(event.contents.error_code)
    return 0


def _libx11():
    global _xlib
    if _xlib is None:
        try:
            lib = ctypes.CDLL("libX11.so.6")
        except OSError:
            raise HarnessError("libX11.so.6 is not installed (package libx11-6)")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XStringToKeysym.restype = ctypes.c_ulong
        lib.XStringToKeysym.argtypes = [ctypes.c_char_p]
        lib.XKeysymToKeycode.restype = ctypes.c_ubyte
        lib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        lib.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int,
                                 ctypes.c_int, ctypes.c_int]
        lib.XUngrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong]
        lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        lib.XSetErrorHandler.restype = ctypes.c_void_p
        lib.XSetErrorHandler.argtypes = [_X_ERROR_HANDLER]
        lib.XGetModifierMapping.restype = ctypes.POINTER(_XModifierKeymap)
        lib.XGetModifierMapping.argtypes = [ctypes.c_void_p]
        lib.XFreeModifiermap.argtypes = [ctypes.POINTER(_XModifierKeymap)]
        lib.XSetErrorHandler(_note_x_error)  # before the first connection; this process has no other
        _xlib = lib
    return _xlib


class KeyGrabber:
    """A client of its own on the display that asks for passive key grabs on the root window,
    as any program may: the X server gives each combination to the first client that asks and
    answers later ones with BadAccess. It must be stopped before its display (as the clean-up
    order has it): Xlib ends the whole process when a connection's server is gone."""

    BAD_ACCESS = 10
    SHIFT, LOCK, CONTROL = 1, 2, 4

    def __init__(self, display):
        self._x = _libx11()
        self._dpy = self._x.XOpenDisplay(display.name.encode())
        if not self._dpy:
            raise HarnessError(f"cannot open display {display.name}")
        self._root = self._x.XDefaultRootWindow(self._dpy)
        self._held = []
        self.alt, self.num_lock, self.super = (self._modifier_bit(name, fallback) for name, fallback in
                                               (("Alt_L", 8), ("Num_Lock", 16), ("Super_L", 64)))
        _register(self)

    def __repr__(self):
        return "KeyGrabber()"

    def _keycode(self, keysym_name):
        keysym = self._x.XStringToKeysym(keysym_name.encode())
        code = self._x.XKeysymToKeycode(self._dpy, keysym) if keysym else 0
        if not code:
            raise HarnessError(f"the display's keyboard has no key {keysym_name}")
        return code

    def _modifier_bit(self, keysym_name, fallback):
        code = self._x.XKeysymToKeycode(self._dpy, self._x.XStringToKeysym(keysym_name.encode()))
        keymap = self._x.XGetModifierMapping(self._dpy) if code else None
        if not keymap:
            return fallback
        try:
            per = keymap.contents.max_keypermod
            for modifier in range(8):
                if any(keymap.contents.modifiermap[modifier * per + i] == code for i in range(per)):
                    return 1 << modifier
            return fallback
        finally:
            self._x.XFreeModifiermap(keymap)

    def lock_states(self):
        """The modifier bits of every Caps Lock and Num Lock state."""
        return [0, self.LOCK, self.num_lock, self.LOCK | self.num_lock]

    def grab(self, keysym_name, modifiers=0):
        """Asks for the combination; returns the X error code (0: granted, and held until
        release())."""
        code = self._keycode(keysym_name)
        self._x.XSync(self._dpy, 0)
        _x_errors.pop(self._dpy, None)
        self._x.XGrabKey(self._dpy, code, modifiers, self._root, 0, 1, 1)
        self._x.XSync(self._dpy, 0)  # the answer, an error or none, is in when this returns
        errors = _x_errors.pop(self._dpy, [])
        error = errors[0] if errors else 0
        if not error:
            self._held.append((code, modifiers))
        return error

    def release(self):
        for code, modifiers in self._held:
            self._x.XUngrabKey(self._dpy, code, modifiers, self._root)
        self._held = []
        self._x.XSync(self._dpy, 0)

    def stop(self):
        _unregister(self)
        if self._dpy:
            self.release()
            self._x.XCloseDisplay(self._dpy)
            _x_errors.pop(self._dpy, None)
            self._dpy = None


# ---------------------------------------------------------------------------------------------
# Web server


class _Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=SITE, **kwargs)

    def log_message(self, *args):  # the server keeps its own record
        pass

    def end_headers(self):
        # Every visit reaches the server, so a missing request proves a navigation was stopped.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def _route(self):
        server = self.server.owner
        path = urllib.parse.urlsplit(self.path).path
        server.record(self.command, self.path)
        return server.routes.get(path)

    def _serve(self, otherwise):
        route = self._route()
        if route:
            route(self)
        else:
            otherwise()

    def do_GET(self):
        self._serve(super().do_GET)

    def do_HEAD(self):
        self._serve(super().do_HEAD)

    def do_POST(self):
        self._serve(lambda: self.send_error(405))

    def reply(self, status, body=b"", content_type="text/html; charset=utf-8", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)


class _ThreadingServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class WebServer:
    """Serves tests/e2e/site on 127.0.0.1 (free port) plus programmable routes, and records
    every request so tests can tell which addresses the kiosk really fetched."""

    def __init__(self):
        self.routes = {}
        self.requests = []
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._server = None
        self._thread = None
        self.port = None

    def __repr__(self):
        return f"WebServer({self.port})"

    def start(self):
        self._server = _ThreadingServer(("127.0.0.1", 0), _Handler)
        self._server.owner = self
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.2},
                                        daemon=True)
        self._thread.start()
        _register(self)
        return self

    def stop(self):
        _unregister(self)
        self._stopping.set()
        if self._server is not None:
            self._server.shutdown()
            self._server.server_close()
            self._thread.join(5)
            self._server = None

    def url(self, path="/"):
        return f"http://127.0.0.1:{self.port}{path}"

    # -- record ----------------------------------------------------------------------------

    def record(self, method, path):
        with self._lock:
            self.requests.append((method, path))

    def mark(self):
        with self._lock:
            return len(self.requests)

    def paths(self, since=0):
        with self._lock:
            return [path for _, path in self.requests[since:]]

    def wait_request(self, path, timeout=15, since=0):
        """Waits until path (with its query, when given one) was requested."""
        found = poll_until(lambda: path in self.paths(since) or any(
            p.split("?", 1)[0] == path for p in self.paths(since)), timeout)
        if not found:
            raise HarnessError(f"the server saw no request for {path} within {timeout} s; "
                               f"requests: {self.paths(since)}")

    # -- routes ----------------------------------------------------------------------------

    def add_redirect(self, path, location, status=302):
        self.routes[path] = lambda request: request.reply(status, headers=[("Location", location)])

    def add_slow_page(self, path, seconds, body=b"<!doctype html><title>Slow</title><p>Slow page</p>"):
        seconds = min(seconds, 60)  # never a request that outlives the run

        def slow(request):
            if self._stopping.wait(seconds):
                return
            try:
                request.reply(200, body)
            except OSError:
                pass  # the kiosk gave up on it

        self.routes[path] = slow

    def add_attachment(self, path, filename, body=b"%PDF-1.4\n%%EOF\n", content_type="application/pdf"):
        self.routes[path] = lambda request: request.reply(
            200, body, content_type, [("Content-Disposition", f'attachment; filename="{filename}"')])

    def add_page(self, path, body, status=200, content_type="text/html; charset=utf-8"):
        data = body.encode() if isinstance(body, str) else body
        self.routes[path] = lambda request: request.reply(status, data, content_type)


# ---------------------------------------------------------------------------------------------
# Kiosk


def _quit_token(date):
    wparam = date.year * date.month * date.day
    return wparam, (wparam * QUIT_TOKEN_KEY) % 2147483647


def today_quit_token():
    """Today's remote-quit parameters; waits out the last seconds before midnight so that the
    kiosk judges the token by the same date."""
    now = datetime.datetime.now()
    midnight = datetime.datetime.combine(now.date() + datetime.timedelta(days=1), datetime.time())
    if (midnight - now).total_seconds() < 5:
        time.sleep((midnight - now).total_seconds() + 1)
    return _quit_token(datetime.date.today())


def quit_token_for(date):
    return _quit_token(date)


def channel_name():
    return f"\0Plintor{os.getuid()}"


def kiosk_channel_in_use():
    """True while some kiosk of this user holds the single-instance channel."""
    probe = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
    try:
        probe.bind(channel_name())
        return False
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            return True
        raise
    finally:
        probe.close()


def send_datagram(data):
    with socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM) as sock:
        sock.settimeout(5)
        sock.sendto(data, channel_name())


def encode_message(msg, wparam=0, lparam=0, text=b""):
    if isinstance(text, str):
        text = text.encode()
    return f"PLINTOR/1 {msg} {wparam} {lparam} {len(text)}\n".encode() + text


def binary_path():
    path = os.environ.get("PLINTOR_BINARY") or os.path.join(REPO, "build", "plintor")
    return os.path.abspath(path)


class LogEntry:
    def __init__(self, index, stamp, text):
        self.index, self.stamp, self.text = index, stamp, text

    def __repr__(self):
        return f"[{self.index}] {self.text!r}"


class Kiosk:
    """One kiosk process with its own home folder, configuration and private user folders."""

    def __init__(self, display, config=None, whitelist=None, blacklist=None, args=None,
                 default_files=False, name="kiosk", extra_env=None):
        """config: dict written as plintor.ini (None writes no file); whitelist/blacklist:
        lists of masks (None writes no file); default_files writes the _Default copies
        instead of the working files; args replaces --home=DIR when given; extra_env: variables
        set for the kiosk on top of the usual ones (a value of None removes the variable)."""
        self.display = display
        self.extra_env = dict(extra_env or {})
        self.name = name
        self.root = tempfile.mkdtemp(prefix=f"plintor-e2e-{name}-")
        self.home = os.path.join(self.root, "home")
        os.makedirs(self.home)
        suffix = "_Default" if default_files else ""
        if config is not None:
            body = "".join(f"{key}={value}\r\n" for key, value in config.items())
            self._write(f"plintor{suffix}.ini", body)
        if whitelist is not None:
            self._write(f"Whitelist{suffix}.txt", "".join(line + "\r\n" for line in whitelist))
        if blacklist is not None:
            self._write(f"Blacklist{suffix}.txt", "".join(line + "\r\n" for line in blacklist))
        self.args = args
        self.process = None
        self.log_path = os.path.join(self.home, "plintor.log")
        self._log_offset = 0
        self._log_buffer = b""
        self.entries = []
        self._stderr_path = os.path.join(self.root, "stderr.txt")
        _register(self)  # from here on: stop() removes the folder, and ends the process once started

    def __repr__(self):
        return f"Kiosk({self.name}, pid={self.process.pid if self.process else None})"

    def _write(self, name, text):
        with open(os.path.join(self.home, name), "w", encoding="utf-8", newline="") as out:
            out.write(text)

    def env(self):
        env = self.display.env()
        private = os.path.join(self.root, "user")
        for variable, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_CACHE_HOME", "cache"),
                              ("XDG_DATA_HOME", "data"), ("XDG_RUNTIME_DIR", "runtime")):
            path = os.path.join(private, sub)
            os.makedirs(path, mode=0o700, exist_ok=True)
            env[variable] = path
        env["QT_QPA_PLATFORM"] = "xcb"
        for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
                         "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI"):
            env.pop(variable, None)
        if os.getuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        # Xvfb has no GPU.
        flags = env.get("QTWEBENGINE_CHROMIUM_FLAGS", "")
        if "--disable-gpu" not in flags:
            env["QTWEBENGINE_CHROMIUM_FLAGS"] = (flags + " --disable-gpu").strip()
        for variable, value in self.extra_env.items():
            if value is None:
                env.pop(variable, None)
            else:
                env[variable] = value
        return env

    def command(self):
        if self.args is not None:
            return [binary_path(), *self.args]
        return [binary_path(), f"--home={self.home}"]

    # -- life ------------------------------------------------------------------------------

    def start(self, wait_home=None, timeout=60, alone=True):
        """Starts the kiosk; with wait_home the address whose DocumentComplete ends the start.
        alone=False starts it although another kiosk runs (to see the second one go)."""
        if not os.access(binary_path(), os.X_OK):
            raise HarnessError(f"no kiosk program at {binary_path()} (build it, or set PLINTOR_BINARY)")
        if alone and poll_until(lambda: not kiosk_channel_in_use(), 10) is None:
            raise HarnessError("another Plintor kiosk runs for this user; end it before the tests "
                               "(Control+Shift+F4 and Exit, or plintor --send quit)")
        with open(self._stderr_path, "ab") as output:
            self.process = subprocess.Popen(self.command(), env=self.env(), cwd=self.root, start_new_session=True,
                                            stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)
        print(f"  {self.name}: pid {self.process.pid}, home {self.home}", file=sys.stderr, flush=True)
        if wait_home:
            self.wait_log(rf"DocumentComplete: {re.escape(wait_home)}", timeout)
        return self

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout):
        """The exit code, or None when the kiosk still runs after timeout seconds."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        _unregister(self)
        if self.process is not None:
            kill_process_tree(self.process)
        if os.environ.get("PLINTOR_E2E_KEEP") != "1":
            shutil.rmtree(self.root, ignore_errors=True)

    # -- log -------------------------------------------------------------------------------

    def read_log(self):
        """Reads what the kiosk appended since the last call; returns all entries so far."""
        try:
            with open(self.log_path, "rb") as log:
                size = os.fstat(log.fileno()).st_size
                if size < self._log_offset:  # trimmed from the front: start over
                    self._log_offset, self._log_buffer, self.entries = 0, b"", []
                log.seek(self._log_offset)
                data = log.read()
        except FileNotFoundError:
            return self.entries
        self._log_offset += len(data)
        self._log_buffer += data
        *complete, self._log_buffer = self._log_buffer.split(b"\r\n\r\n")
        for raw in complete:
            self._parse_block(raw.decode("utf-8", errors="replace").lstrip("\ufeff").split("\r\n"))
        return self.entries

    # The kiosk writes entries (a stamp line, the text, an empty line), stamped lines (the stamp,
    # two blanks, the text) and plain lines; a block between empty lines may hold all three.
    _STAMPED_LINE = re.compile(r"^(\S+(?: \d\d:\d\d:\d\d)?)  (.*)$")
    _STAMP_ALONE = re.compile(r"^\S+(?: \d\d:\d\d:\d\d)?$")

    def _parse_block(self, lines):
        while lines and self._STAMPED_LINE.match(lines[0]):
            stamp, text = self._STAMPED_LINE.match(lines[0]).groups()
            self.entries.append(LogEntry(len(self.entries), stamp, text))
            lines = lines[1:]
        if not lines:
            return
        if self._STAMP_ALONE.match(lines[0]) and len(lines) > 1:
            self.entries.append(LogEntry(len(self.entries), lines[0], "\n".join(lines[1:])))
        else:
            self.entries.append(LogEntry(len(self.entries), "", "\n".join(lines)))

    def mark(self):
        """A position in the log; waits and searches given since=mark look only after it."""
        return len(self.read_log())

    def find_log(self, pattern, since=0):
        regex = re.compile(pattern)
        return [entry for entry in self.read_log()[since:] if regex.search(entry.text)]

    def wait_log(self, pattern, timeout=20, since=0):
        """The first entry after since whose text matches pattern; fails after timeout
        seconds, or at once when the kiosk ends."""
        regex = re.compile(pattern)
        deadline = time.monotonic() + timeout
        while True:
            for entry in self.read_log()[since:]:
                if regex.search(entry.text):
                    return entry
            if not self.alive():
                self.fail(f"the kiosk ended (code {self.process.returncode}) before the log showed /{pattern}/")
            if time.monotonic() >= deadline:
                self.fail(f"the log did not show /{pattern}/ within {timeout} s")
            time.sleep(0.1)

    def wait_navigation(self, url, allowed=True, timeout=20, since=0):
        return self.wait_log(rf"^BeforeNavigate: {re.escape(url)} \({'True' if allowed else 'False'}\)$",
                             timeout, since)

    def wait_loaded(self, url, timeout=30, since=0):
        return self.wait_log(rf"^DocumentComplete: {re.escape(url)}$", timeout, since)

    def log_tail(self, count=25):
        entries = self.read_log()[-count:]
        return "\n".join(f"    {entry.stamp} | {entry.text}" for entry in entries) or "    (log empty or missing)"

    def output_tail(self, size=3000):
        try:
            with open(self._stderr_path, "rb") as out:
                out.seek(max(0, os.fstat(out.fileno()).st_size - size))
                return out.read().decode(errors="replace")
        except OSError:
            return ""

    def describe(self):
        state = "running" if self.alive() else f"ended with {self.process.returncode}" if self.process else "not started"
        return (f"kiosk {self.name} ({state}), home {self.home}\n  log tail:\n{self.log_tail()}\n"
                f"  program output tail:\n{self.output_tail()}")

    def fail(self, message):
        try:
            shot = self.display.screenshot(f"{self.name}-failure").path
        except Exception as error:
            shot = f"(no screenshot: {error})"
        raise HarnessError(f"{message}\n  screenshot: {shot}\n  {self.describe()}")

    # -- messages --------------------------------------------------------------------------

    def run_sender(self, *args, timeout=15):
        try:
            return subprocess.run([binary_path(), *args], env=self.env(), cwd=self.root,
                                  capture_output=True, timeout=timeout, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            self.fail(f"plintor {' '.join(args)} did not finish within {timeout} s")

    def send_navigate(self, url):
        result = self.run_sender("--send", "navigate", url)
        if result.returncode != 0:
            self.fail(f"plintor --send navigate {url} failed with {result.returncode}: "
                      f"{result.stderr.decode(errors='replace')}")
        return result

    def send_quit(self):
        return self.run_sender("--send", "quit")

    def send_raw(self, msg, wparam=0, lparam=0, text=b""):
        send_datagram(encode_message(msg, wparam, lparam, text))

    def open_page(self, url, timeout=30):
        """Navigates through the message channel and waits until the page finished loading."""
        since = self.mark()
        self.send_navigate(url)
        self.wait_loaded(url, timeout, since)



# ---------------------------------------------------------------------------------------------
# The system bus and logind, stood in for


def fake_logind_path():
    path = os.environ.get("PLINTOR_FAKE_LOGIND") or os.path.join(
        os.path.dirname(binary_path()), "tests", "unit", "fake_logind")
    return os.path.abspath(path)


class SystemBus:
    """A private dbus-daemon the kiosk takes for the system bus (see env()): its power, session
    and sleep requests reach the stand-in for logind there, never the machine's own."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="plintor-e2e-bus-")
        self.address = None
        self._process = None
        _register(self)

    def __repr__(self):
        return f"SystemBus({self.address})"

    def start(self, timeout=10):
        config = os.path.join(self.root, "bus.conf")
        with open(os.path.join(REPO, "tests", "support", "private-bus.conf")) as template, open(config, "w") as out:
            out.write(template.read().replace("@SOCKET@", f"{self.root}/socket"))
        read_end, write_end = os.pipe()
        try:
            with open(os.path.join(self.root, "output.txt"), "wb") as output:
                self._process = subprocess.Popen(
                    ["dbus-daemon", f"--config-file={config}", "--nofork", "--nopidfile",
                     f"--print-address={write_end}"],
                    pass_fds=(write_end,), start_new_session=True, stdin=subprocess.DEVNULL,
                    stdout=output, stderr=subprocess.STDOUT)
        except FileNotFoundError:
            raise HarnessError("dbus-daemon is not installed (package dbus-daemon)")
        finally:
            os.close(write_end)
        try:
            self.address = _read_line(read_end, timeout, "dbus-daemon")
        finally:
            os.close(read_end)
        return self

    def env(self):
        """What the kiosk needs to take this bus for the system's; the session id is left to
        the stand-in, which looks it up by process."""
        return {"DBUS_SYSTEM_BUS_ADDRESS": self.address, "XDG_SESSION_ID": None}

    def stop(self):
        _unregister(self)
        if self._process is not None:
            kill_process_tree(self._process)
        shutil.rmtree(self.root, ignore_errors=True)


class FakeLogind:
    """The tests' logind (fake_logind, built with the unit tests) on a SystemBus: it writes one
    line per request to its record before it answers, refuses everything with --refuse, tells
    the session state given with --session-state, and starts a simulated shutdown on SIGUSR1."""

    def __init__(self, bus, *options):
        self.bus, self.options = bus, list(options)
        self.root = tempfile.mkdtemp(prefix="plintor-e2e-logind-")
        self.record_path = os.path.join(self.root, "record.txt")
        self._process = None
        self._ready = None
        _register(self)

    def __repr__(self):
        return f"FakeLogind({' '.join(self.options)})"

    def start(self, timeout=10):
        path = fake_logind_path()
        if not os.access(path, os.X_OK):
            raise HarnessError(f"no fake_logind at {path} (build the tests, or set PLINTOR_FAKE_LOGIND)")
        self._process = subprocess.Popen([path, "--bus", self.bus.address, "--record", self.record_path,
                                          *self.options],
                                         start_new_session=True, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self._ready = self._process.stdout  # kept open: a closed pipe would end it at its next word
        line = _read_line(self._ready.fileno(), timeout, "fake_logind")
        if line != "ready":
            raise HarnessError(f"fake_logind did not start: {line}")
        return self

    def alive(self):
        return self._process is not None and self._process.poll() is None

    def start_shutdown(self):
        """The machine starts shutting down: PreparingForShutdown becomes true."""
        self._process.send_signal(signal.SIGUSR1)

    def lines(self):
        try:
            with open(self.record_path, encoding="utf-8", errors="replace") as record:
                return record.read().splitlines()
        except FileNotFoundError:
            return []

    def mark(self):
        return len(self.lines())

    def find(self, pattern, since=0):
        regex = re.compile(pattern)
        return [line for line in self.lines()[since:] if regex.search(line)]

    def wait_lines(self, pattern, count=1, timeout=15, since=0):
        """The first count record lines after since that match pattern; fails after timeout."""
        found = poll_until(lambda: len(self.find(pattern, since)) >= count, timeout)
        if not found:
            raise HarnessError(f"logind was not asked /{pattern}/ {count} time(s) within {timeout} s; "
                               f"its record: {self.lines()[since:]}")
        return self.find(pattern, since)[:count]

    def stop(self):
        _unregister(self)
        if self._process is not None:
            kill_process_tree(self._process)
            self._ready.close()
        shutil.rmtree(self.root, ignore_errors=True)
