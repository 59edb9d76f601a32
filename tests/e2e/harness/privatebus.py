"""A dbus-daemon of the tests' own, on a socket in a folder of theirs, with the tests' bus
configuration (tests/support/private-bus.conf): the system bus the kiosk's logind requests go to,
or the session bus the accessibility bus is found on."""

import os
import subprocess

from .kiosk import REPO
from .processes import HarnessError, read_line


def start_private_bus(root, name, timeout):
    """Starts dbus-daemon with its socket, configuration and output under `root` (files named
    after `name`); returns the process and the bus address it printed."""
    config = os.path.join(root, f"{name}.conf")
    with open(os.path.join(REPO, "tests", "support", "private-bus.conf")) as template, open(config, "w") as out:
        out.write(template.read().replace("@SOCKET@", f"{root}/socket"))
    read_end, write_end = os.pipe()
    try:
        with open(os.path.join(root, f"{name}.txt"), "wb") as output:
            process = subprocess.Popen(
                ["dbus-daemon", f"--config-file={config}", "--nofork", "--nopidfile",
                 f"--print-address={write_end}"],
                pass_fds=(write_end,), start_new_session=True, stdin=subprocess.DEVNULL,
                stdout=output, stderr=subprocess.STDOUT)
    except FileNotFoundError:
        raise HarnessError("dbus-daemon is not installed (package dbus-daemon)")
    finally:
        os.close(write_end)
    try:
        return process, read_line(read_end, timeout, "dbus-daemon")
    finally:
        os.close(read_end)
