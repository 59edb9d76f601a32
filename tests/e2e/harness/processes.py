"""Helper programs, waits and the clean-up of everything a run started.

Every object that starts something registers here and is stopped in reverse order when the run
ends, also when it fails or is interrupted: SIGTERM and SIGHUP become exceptions, so that the
finally blocks and the atexit clean-up still run.
"""

import atexit
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

COMMAND_TIMEOUT = 20  # any helper program (xdotool, import, ...) that takes longer is stuck


class HarnessError(AssertionError):
    """A wait that ran out or a helper that failed; an AssertionError so unittest reports a
    failure with the message rather than an error with a traceback only."""


# ---------------------------------------------------------------------------------------------
# Clean-up of everything this process started

_live = []  # objects with a stop() method, stopped in reverse order
_live_lock = threading.Lock()


def register(thing):
    """Has thing.stop() called when the run ends, unless thing unregisters first."""
    with _live_lock:
        _live.append(thing)


def unregister(thing):
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


# ---------------------------------------------------------------------------------------------
# Processes


def descendants(pid):
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
    below = descendants(process.pid)
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


def process_state(pid):
    """The state letter of a process (R, S, T, Z, ...), None when there is none."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as stat:
            return stat.read().rsplit(b")", 1)[1].split()[0].decode()
    except (OSError, IndexError):
        return None


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


def _namespace(pid, kind):
    try:
        return os.readlink(f"/proc/{pid}/ns/{kind}")
    except OSError:
        return None


def _parent_of(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return int(stat.read().rsplit(")", 1)[1].split()[1])
    except (OSError, IndexError, ValueError):
        return 0


def in_private_namespace(kind):
    """Whether a process this one descends from is in another namespace of the kind ("mnt",
    "net"): then what is changed here stays here (run_e2e.sh's unshare makes its mounts
    private)."""
    own = _namespace("self", kind)
    pid = os.getppid()
    while own is not None and pid > 1:
        theirs = _namespace(pid, kind)
        if theirs is not None and theirs != own:
            return True
        pid = _parent_of(pid)
    return False


def run_tool(args, env=None, timeout=COMMAND_TIMEOUT, check=True):
    try:
        result = subprocess.run(args, env=env, capture_output=True, timeout=timeout)
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


# ---------------------------------------------------------------------------------------------
# Waits


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


def read_line(read_end, timeout, what):
    """The first line a helper writes to read_end (a descriptor), within timeout seconds; what
    names the helper in the error."""
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


class OwnedProcess:
    """A program a test starts and owns: a folder of its own (its working folder, where its
    output goes), a session of its own, and an end with its whole process tree and the folder,
    by the test or, failing that, at the end of the run. The kiosk and the desktop's other
    programs are started this way."""

    def __init__(self, name):
        self.name = name
        self.root = tempfile.mkdtemp(prefix=f"plintor-e2e-{name}-")
        self.output_path = os.path.join(self.root, "output.txt")
        self.process = None
        register(self)  # from here on: stop() removes the folder, and ends the process once started

    def __repr__(self):
        return f"{type(self).__name__}({self.name}, pid={self.process.pid if self.process else None})"

    def spawn(self, args, env):
        """Starts args with standard output and error appended to output_path."""
        try:
            with open(self.output_path, "ab") as output:
                self.process = subprocess.Popen(args, env=env, cwd=self.root, start_new_session=True,
                                                stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)
        except FileNotFoundError:
            raise HarnessError(f"{args[0]} is not installed (needed for the end-to-end tests)")
        return self.process

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

    def output(self):
        try:
            with open(self.output_path, "rb") as output:
                return output.read().decode(errors="replace")
        except OSError:
            return ""

    def stop(self, keep_folder=False):
        unregister(self)
        if self.process is not None:
            kill_process_tree(self.process)
        if not keep_folder:
            shutil.rmtree(self.root, ignore_errors=True)
