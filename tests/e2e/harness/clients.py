"""Programs of the desktop that tests start on a display beside the kiosk: a terminal, a panel,
an event monitor."""

import itertools
import os
import signal

from .processes import OwnedProcess, process_state, tagged_processes

_client_numbers = itertools.count(1)


class XClient(OwnedProcess):
    """A program on the display. Its environment carries a tag of its own, so that a copy another
    program started from it (the kiosk starts the shell it stopped again at its exit, as a
    process of its own) is found and ended with it."""

    def __init__(self, display, args, name=None):
        self.display, self.args = display, [str(a) for a in args]
        super().__init__(name or os.path.basename(self.args[0]))
        self.tag = f"{self.name}-{os.getpid()}-{next(_client_numbers)}"

    def start(self):
        env = self.display.env()
        env["HOME"] = self.root  # caches and settings it writes go with the run
        env["PLINTOR_E2E_TAG"] = self.tag
        self.spawn(self.args, env)
        return self

    def processes(self):
        """Every live process started as this client, including copies started by others."""
        return [pid for pid in tagged_processes(self.tag) if process_state(pid) not in (None, "Z")]

    def stop(self):
        super().stop()
        for pid in tagged_processes(self.tag):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
