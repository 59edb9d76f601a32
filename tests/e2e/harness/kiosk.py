"""The kiosk under test: one process with its own home folder, configuration and private user
folders, watched through its log (parsed into entries as the kiosk writes them) and driven
through its message channel."""

import os
import re
import subprocess
import sys
import time

from .channel import channel_path, encode_message, kiosk_channel_in_use, send_datagram
from .images import near
from .layout import page_to_screen
from .processes import HarnessError, OwnedProcess, poll_until

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))


def binary_path():
    """The program under test: $PLINTOR_BINARY, else the build folder's."""
    path = os.environ.get("PLINTOR_BINARY") or os.path.join(REPO, "build", "plintor")
    return os.path.abspath(path)


class LogEntry:
    """One entry of the kiosk's log; index is its place in the log, for since= arguments."""

    def __init__(self, index, stamp, text):
        self.index, self.stamp, self.text = index, stamp, text

    def __repr__(self):
        return f"[{self.index}] {self.text!r}"


def documents_folder(temp):
    """The private folder in the temporary folder temp that the kiosk fetches documents into."""
    return os.path.join(temp, f"plintor-documents-{os.geteuid()}")


def host_masks(host):
    """Deny-list masks that cover a host and its subdomains, with any path, port or fragment."""
    return [f"*://{host}", f"*://{host}[/:#]*", f"*://*.{host}", f"*://*.{host}[/:#]*"]


class Kiosk(OwnedProcess):
    """One kiosk process with its own home folder, configuration and private user folders."""

    def __init__(self, display, config=None, whitelist=None, blacklist=None, args=None,
                 default_files=False, name="kiosk", extra_env=None):
        """config: dict written as plintor.ini (None writes no file); whitelist/blacklist:
        lists of masks (None writes no file); default_files writes the _Default copies
        instead of the working files; args replaces --home=DIR when given; extra_env: variables
        set for the kiosk on top of the usual ones (a value of None removes the variable)."""
        self.display = display
        self.extra_env = dict(extra_env or {})
        super().__init__(name)
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
        self.log_path = os.path.join(self.home, "plintor.log")
        self._log_offset = 0
        self._log_buffer = b""
        self.entries = []

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
        env["GDK_BACKEND"] = "x11"
        for variable in ("GDK_SCALE", "GDK_DPI_SCALE"):
            env.pop(variable, None)
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
        self.spawn(self.command(), self.env())
        print(f"  {self.name}: pid {self.process.pid}, home {self.home}", file=sys.stderr, flush=True)
        if wait_home:
            self.wait_log(rf"DocumentComplete: {re.escape(wait_home)}", timeout)
        return self

    def stop(self):
        super().stop(keep_folder=os.environ.get("PLINTOR_E2E_KEEP") == "1")

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
            with open(self.output_path, "rb") as out:
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

    # -- screen ----------------------------------------------------------------------------

    def wait_colour(self, point, colour, what, timeout=15):
        """Waits until the page shows colour at point (page coordinates), else fails with what.
        A page that is loaded need not be drawn yet: a test that compares pictures of it waits
        for this first."""
        if not poll_until(lambda: near(self.display.capture().pixel(*page_to_screen(*point)), colour),
                          timeout, 0.2):
            self.fail(what)

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
        self.send_bytes(encode_message(msg, wparam, lparam, text))

    def send_bytes(self, data):
        """One datagram, as it is, to the kiosk's message channel."""
        send_datagram(data, channel_path(self.env()))

    def open_page(self, url, timeout=30):
        """Navigates through the message channel and waits until the page finished loading."""
        since = self.mark()
        self.send_navigate(url)
        self.wait_loaded(url, timeout, since)
