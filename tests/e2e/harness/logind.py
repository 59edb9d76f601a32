"""The system bus and logind, stood in for: the kiosk's power, session and sleep requests go to a
private dbus-daemon and the tests' own logind there, never to the machine's, which would act on
the machine that runs the tests."""

import os
import re
import shutil
import signal
import subprocess
import tempfile

from .kiosk import binary_path
from .privatebus import start_private_bus
from .processes import HarnessError, kill_process_tree, poll_until, read_line, register, unregister


def fake_logind_path():
    """$PLINTOR_FAKE_LOGIND, else the one built with the unit tests beside the program."""
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
        register(self)

    def __repr__(self):
        return f"SystemBus({self.address})"

    def start(self, timeout=10):
        self._process, self.address = start_private_bus(self.root, "bus", timeout)
        return self

    def env(self):
        """What the kiosk needs to take this bus for the system's; the session id is left to
        the stand-in, which looks it up by process."""
        return {"DBUS_SYSTEM_BUS_ADDRESS": self.address, "XDG_SESSION_ID": None}

    def stop(self):
        unregister(self)
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
        register(self)

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
        line = read_line(self._ready.fileno(), timeout, "fake_logind")
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
        unregister(self)
        if self._process is not None:
            kill_process_tree(self._process)
            self._ready.close()
        shutil.rmtree(self.root, ignore_errors=True)
