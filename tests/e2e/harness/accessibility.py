"""The accessibility bus a screen reader reads the kiosk through: a private session bus
(dbus-daemon with the tests' own configuration), the AT-SPI bus launcher on it (at-spi2-core),
which starts the accessibility bus and its registry, and a reader of the kiosk's tree
(atspi_tree.py, in a Python with the AT-SPI bindings)."""

import json
import os
import shutil
import subprocess
import sys
import tempfile

from .privatebus import start_private_bus
from .processes import HarnessError, kill_process_tree, poll_until, register, run_tool, unregister

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
TREE_READER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_tree.py")
READ_TIMEOUT = 60  # a whole tree, each call to the kiosk bounded by the reader itself


def _python_with_atspi():
    """This Python when it has the AT-SPI bindings, else the system's (where Debian installs
    python3-gi), else None."""
    for candidate in (sys.executable, "/usr/bin/python3"):
        probe = subprocess.run([candidate, "-c", "import gi; gi.require_version('Atspi', '2.0')"],
                               capture_output=True, timeout=20, check=False)
        if probe.returncode == 0:
            return candidate
    return None


class Accessible:
    """One object of a tree as the reader saw it."""

    def __init__(self, entry):
        self.application = entry.get("application", "")
        self.name = entry.get("name", "")
        self.role = entry.get("role", "")
        self.states = set(entry.get("states", []))
        self.depth = entry.get("depth", 0)
        self.extents = tuple(entry.get("extents", (0, 0, 0, 0)))

    def __repr__(self):
        return f"{self.role} {self.name!r} {self.extents} {sorted(self.states)}"


class AccessibilityBus:
    """A session bus with the AT-SPI bus on it; env() is what the kiosk and the reader need."""

    def __init__(self, display):
        self.display = display
        self.root = tempfile.mkdtemp(prefix="plintor-e2e-a11y-")
        self.address = None
        self._bus = None
        self._launcher = None
        self._python = None
        register(self)

    def __repr__(self):
        return f"AccessibilityBus({self.address})"

    def start(self, timeout=20):
        self._python = _python_with_atspi()
        if self._python is None:
            raise HarnessError("no Python with the AT-SPI bindings (packages python3-gi, gir1.2-atspi-2.0)")
        if not os.access(BUS_LAUNCHER, os.X_OK):
            raise HarnessError(f"no {BUS_LAUNCHER} (package at-spi2-core)")
        self._bus, self.address = start_private_bus(self.root, "session", timeout)
        with open(os.path.join(self.root, "launcher.txt"), "wb") as output:
            self._launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately", "--a11y=1"],
                                              env=self._env_for_tools(), start_new_session=True,
                                              stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)

        def bus_ready():
            if self._launcher.poll() is not None:
                raise HarnessError(f"at-spi-bus-launcher ended at start: {self._tail('launcher.txt')}")
            reply = run_tool(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                              "org.a11y.Bus.GetAddress"], env=self._env_for_tools(), check=False)
            return reply.returncode == 0 and b"unix:" in reply.stdout

        if not poll_until(bus_ready, timeout, 0.2):
            raise HarnessError(f"the accessibility bus did not come within {timeout} s: {self._tail('launcher.txt')}")
        return self

    def _tail(self, name):
        try:
            with open(os.path.join(self.root, name), "rb") as log:
                return log.read()[-2000:].decode(errors="replace")
        except OSError:
            return ""

    def env(self):
        """For the kiosk (Kiosk's extra_env): this session bus, and nothing that switches the
        toolkit's accessibility off."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.address, "AT_SPI_BUS_ADDRESS": None, "GTK_A11Y": None,
                "NO_AT_BRIDGE": None}

    def _env_for_tools(self):
        env = self.display.env()
        for variable, value in self.env().items():
            if value is None:
                env.pop(variable, None)
            else:
                env[variable] = value
        return env

    def tree(self, application=None):
        """The objects of every program on the bus (of the one whose AT-SPI name is application),
        in tree order."""
        try:
            result = subprocess.run([self._python, TREE_READER], env=self._env_for_tools(), capture_output=True,
                                    timeout=READ_TIMEOUT, check=False)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"the accessibility tree was not read within {READ_TIMEOUT} s")
        if result.returncode != 0:
            raise HarnessError(f"reading the accessibility tree failed: {result.stderr.decode(errors='replace')[-2000:]}")
        objects = [Accessible(json.loads(line)) for line in result.stdout.decode().splitlines() if line.strip()]
        return [o for o in objects if application is None or o.application == application]

    def stop(self):
        unregister(self)
        for process in (self._launcher, self._bus):
            if process is not None:
                kill_process_tree(process)
        self._launcher = self._bus = None
        shutil.rmtree(self.root, ignore_errors=True)
