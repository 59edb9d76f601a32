"""Programs of the desktop that tests start on a display beside the kiosk: a terminal, a panel,
an event monitor."""

import itertools
import os
import shutil
import signal
import subprocess
import tempfile

from .processes import HarnessError, kill_process_tree, process_state, register, tagged_processes, unregister

_client_numbers = itertools.count(1)


class XClient:
    """A program on the display. Its environment carries a tag of its own, so that a copy another
    program started from it (the kiosk starts the shell it stopped again at its exit, as a
    process of its own) is found and ended with it."""

    def __init__(self, display, args, name=None):
        self.display, self.args = display, [str(a) for a in args]
        self.name = name or os.path.basename(self.args[0])
        self.tag = f"{self.name}-{os.getpid()}-{next(_client_numbers)}"
        self.root = tempfile.mkdtemp(prefix=f"plintor-e2e-{self.name}-")
        self.output_path = os.path.join(self.root, "output.txt")
        self.process = None
        register(self)

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
        unregister(self)
        if self.process is not None:
            kill_process_tree(self.process)
        for pid in tagged_processes(self.tag):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.root, ignore_errors=True)
