#!/usr/bin/env python3
"""Compares the kiosk with the floor it is measured against, a bare GTK 4 + WebKitGTK full-screen
view (bench/MinimalView.cpp: the engine's defaults, an ephemeral session, nothing the
kiosk adds), and with `chromium --kiosk`, on the same static page: the start-up time to the
page's load event, the memory of the process tree and the wakeups at rest. Run on demand, not
in the tests:

    python3 bench/rest_and_start.py [--rounds 3] [--rest 60] [--settle 10] [--qt-binary PATH]

Each round starts each program once, in turn (interleaved, so that drift of the machine hits all
of them), on a display of its own (Xvfb and openbox) with a local server; the figures are the
medians over the rounds. The kiosk runs with every feature on, three buttons and a deny list of
the first --deny-masks masks of the real block lists (build/blocklists/masks-real.txt, made by
`scripts/blocklists/prepare.sh build/blocklists`). Programs: build/plintor (or
$PLINTOR_BINARY), build/bench/plintor_minimal_view (or $PLINTOR_MINIMAL_VIEW), Debian's
chromium (installed when missing) and, with --qt-binary, a Qt WebEngine build of the kiosk run
the way it always ran here (its sandbox off as root, no GPU).

Every engine keeps its sandbox. Chromium's refuses to run as root, so as root Chromium runs as the
unprivileged user plintor-bench (created when missing), with a fresh profile each start,
--no-first-run --disable-background-networking --disable-component-update --disable-sync, and
--disable-extensions: the block-list package this benchmark reads installs an extension that
Debian's chromium would otherwise load into every profile. Variables that choose the GTK
renderer or WebKit's modes (GSK_*, GDK_*, WEBKIT_*) are removed, so that the bare view has the
engine's defaults and the kiosk only what it chooses itself. As root the whole run happens in
network and mount namespaces of its own, with nothing but loopback and X sockets of its own: no
request can leave the machine, and neither the kiosk's single-instance channel nor a display can
meet another run's on the same machine.

How it counts (the process tree: the program and every process below it, read from /proc;
WebKitGTK's web and network processes are its descendants through bubblewrap, Chromium's through
its zygote; the X server is not counted for anyone):
- start-up: from starting the process to the page's load event, which the page reports to the
  server (the same path for every program).
- PSS: the proportional set size (Pss in /proc/PID/smaps_rollup) summed over the tree: each
  page is divided among all the processes of the system that map it.
- distinct pages: the resident pages mapped by the tree, each physical page counted once however
  many processes of the tree map it (read from /proc/PID/pagemap): the private pages of the
  tree plus the shared ones counted once, including the pages of libraries that programs
  outside the tree share. It is what the tree holds in memory, all of it.
- alone: per kind of process, the distinct pages that no other process of the tree maps: about
  what one more process of that kind would add (the libraries it shares with the rest of the
  tree are there already). Unlike PSS and the kernel's Private_* counts it does not change with
  what other programs on the machine map.
- wakeups: the context switches (voluntary + nonvoluntary in /proc/PID/task/TID/status) of every
  thread, over --rest seconds of rest after --settle seconds without anything happening; a thread
  that starts in between counts whole, one that ends counts nothing. Shown for the program's
  own process (the goal is for that one) and for the whole tree.
- load: the machine's one-minute load average at the end of the rest (other work on the machine
  slows the start-up and adds wakeups).
"""

import argparse
import array
import collections
import datetime
import functools
import os
import pwd
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402

BUILD = os.path.join(h.REPO, "build")
os.environ.setdefault("PLINTOR_BINARY", os.path.join(BUILD, "plintor"))
CHROMIUM_USER = "plintor-bench"
PAGE_SIZE = os.sysconf("SC_PAGE_SIZE")

# Static: no script runs after the load report, nothing moves.
PAGE = b"""<!doctype html><title>Rest</title><body style="font: 20px sans-serif">
<h1>A static page</h1><p>Nothing on this page moves.</p>
<script>addEventListener('load', () => fetch('/loaded'));</script></body>"""


def run_isolated():
    """As root: runs this script again in network and mount namespaces of its own, with loopback
    up and a folder of X sockets of its own. Both go together: X clients find a display by its
    abstract socket (one per network namespace) or by its file in /tmp/.X11-unix (shared unless
    the mount namespace is private), so a private network alone would let a display number be
    taken twice, and programs meet someone else's display through the file."""
    if os.getuid() != 0 or os.environ.get("PLINTOR_BENCH_ISOLATED") == "1":
        return
    os.environ["PLINTOR_BENCH_ISOLATED"] = "1"
    setup = 'ip link set lo up && mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix && exec "$@"'
    os.execvp("unshare", ["unshare", "--net", "--mount", "--", "sh", "-c", setup, "sh", sys.executable, *sys.argv])


def engine_defaults():
    """The variables to remove so that every engine starts with its own choices."""
    return {name: None for name in os.environ if name.startswith(("GSK_", "GDK_", "WEBKIT_"))}


# -- counting ----------------------------------------------------------------------------------


def tree(pid):
    return [pid, *h.descendants(pid)]


def context_switches(pids):
    """Context switches so far of each thread of the processes: {thread id: count}."""
    counts = {}
    for pid in pids:
        try:
            threads = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for tid in threads:
            try:
                with open(f"/proc/{pid}/task/{tid}/status") as status:
                    counts[int(tid)] = sum(int(line.split()[1]) for line in status if line.startswith(
                        ("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")))
            except OSError:
                continue
    return counts


def switches_between(before, after):
    """What each thread added; a new thread counts whole, one that ended counts nothing."""
    return sum(count - before.get(tid, 0) for tid, count in after.items())


def rollup_pss(pid):
    """The PSS of one process in KiB."""
    with open(f"/proc/{pid}/smaps_rollup") as lines:
        return sum(int(line.split()[1]) for line in lines if line.startswith("Pss:"))


def resident_frames(pid):
    """The physical frame numbers of the pages the process has in memory."""
    ranges, resident = [], None
    with open(f"/proc/{pid}/smaps") as lines:
        for line in lines:
            if line.startswith("Rss:"):
                if int(line.split()[1]) > 0:
                    ranges.append(resident)
            elif ":" not in line.split(" ", 1)[0]:  # a mapping's first line: START-END PERMS ...
                start, end = line.split(" ", 1)[0].split("-")
                resident = (int(start, 16), int(end, 16))
    frames = set()
    with open(f"/proc/{pid}/pagemap", "rb", buffering=0) as pagemap:
        for start, end in ranges:
            entries = array.array("Q")
            try:
                pagemap.seek(start // PAGE_SIZE * 8)
                entries.frombytes(pagemap.read((end - start) // PAGE_SIZE * 8))
            except OSError:
                continue
            # Bit 63: present; bits 0-54: the frame (zero without CAP_SYS_ADMIN).
            frames.update(entry & ((1 << 55) - 1) for entry in entries if entry >> 63)
    return frames


def memory(pid):
    """PSS and distinct pages of the tree in MiB, and {process name: (PSS, alone)} in MiB."""
    pss, members = 0, []
    for member in tree(pid):
        try:
            with open(f"/proc/{member}/comm") as comm:
                name = comm.read().strip()
            with open(f"/proc/{member}/cmdline", "rb") as cmdline:  # Chromium's kinds all share a name
                role = re.search(rb"--type=([\w-]+)", cmdline.read())
            member_pss = rollup_pss(member)
            members.append((name + (f" {role.group(1).decode()}" if role else ""), member_pss,
                            resident_frames(member)))
        except OSError:  # ended in between
            continue
        pss += member_pss
    mapped_by = collections.Counter(frame for _, _, frames in members for frame in frames)
    kinds = {}
    for name, member_pss, frames in members:
        kind = kinds.setdefault(name, [0, 0])
        kind[0] += member_pss / 1024
        kind[1] += sum(1 for frame in frames if mapped_by[frame] == 1) * PAGE_SIZE / 2**20
    return pss / 1024, len(mapped_by) * PAGE_SIZE / 2**20, kinds


# -- the programs ------------------------------------------------------------------------------


def minimal_view_path():
    return os.path.abspath(os.environ.get("PLINTOR_MINIMAL_VIEW") or
                           os.path.join(BUILD, "bench", "plintor_minimal_view"))


class MinimalView(h.Kiosk):
    """The bare view, started and stopped like the kiosk (private folders, the same display)."""

    def __init__(self, display, address):
        super().__init__(display, name="bare-view", extra_env=engine_defaults())
        self.address = address

    def command(self):
        return [minimal_view_path(), self.address]


def chromium_user():
    """The unprivileged user Chromium runs as under root, created when missing; None when not root."""
    if os.getuid() != 0:
        return None
    try:
        return pwd.getpwnam(CHROMIUM_USER)
    except KeyError:
        h.run_tool(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", CHROMIUM_USER])
        return pwd.getpwnam(CHROMIUM_USER)


class Chromium(h.Kiosk):
    """`chromium --kiosk` with a fresh profile, its sandbox on."""

    def __init__(self, display, address):
        super().__init__(display, name="chromium")
        self.address = address
        self.user = chromium_user()

    def command(self):
        run_as = ["setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}", "--init-groups",
                  "--"] if self.user else []
        return [*run_as, "chromium", "--kiosk", f"--user-data-dir={os.path.join(self.root, 'profile')}",
                "--no-first-run", "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--disable-extensions", self.address]

    def start(self, wait_home=None, timeout=60, alone=True):
        del wait_home, alone  # one page and no channel
        self.env()  # makes the private folders, which the unprivileged user then owns
        if self.user:
            for folder, _, files in os.walk(self.root):
                for path in [folder, *(os.path.join(folder, name) for name in files)]:
                    os.chown(path, self.user.pw_uid, self.user.pw_gid)
        with open(self._stderr_path, "ab") as output:
            self.process = subprocess.Popen(self.command(), env=self.env(), cwd=self.root, start_new_session=True,
                                            stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)
        print(f"  {self.name}: pid {self.process.pid}, as {self.user.pw_name if self.user else 'this user'}",
              file=sys.stderr, flush=True)
        return self


class QtKiosk(h.Kiosk):
    """A Qt WebEngine build of the kiosk, given by path."""

    def __init__(self, binary, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.binary = binary

    def command(self):
        return [self.binary, f"--home={self.home}"]


def every_feature_on(home):
    # A restart time half a day away: on, and never due during the measurement.
    restart = (datetime.datetime.now() + datetime.timedelta(hours=12)).strftime("%H:%M")
    return {"Button1Width": 120, "Button1URL": home, "Button2Width": 120, "Button2URL": home,
            "Button3Width": 120, "Button3URL": home,
            "NavigationPanel": "True", "TouchKeyboard": "True", "DisplayAlwaysOn": "True", "AutoReturn": 10,
            "AutoRestart": restart, "DownloadPDF": "True", "Wheelchair": 20, "AutoCloseAll": "True",
            "KillExplorer": "True", "ProgressIndicator": "True", "Screensaver": home, "DenyAllRequests": "True",
            "ClearSessionOnReturn": "True", "ReturnWarning": 30}


def kiosk_with(deny, kind=h.Kiosk, name="kiosk"):
    def kiosk(display, address):
        return kind(display, config=every_feature_on(address), whitelist=[address.rsplit("/", 1)[0] + "/*"],
                    blacklist=deny, name=name, extra_env=engine_defaults())
    return kiosk


def deny_list(masks):
    """The first `masks` masks of the real block lists (scripts/blocklists/prepare.sh)."""
    path = os.path.join(BUILD, "blocklists", "masks-real.txt")
    if not os.path.exists(path):
        sys.exit(f"no block list at {path} (run scripts/blocklists/prepare.sh build/blocklists)")
    with open(path) as lines:
        return [line.rstrip("\n") for _, line in zip(range(masks), lines)]


def ensure_chromium():
    if shutil.which("chromium"):
        return
    if os.getuid() != 0:
        sys.exit("chromium is not installed (apt-get install chromium)")
    for args in (["apt-get", "update"], ["apt-get", "install", "-y", "chromium"]):
        subprocess.run(args, check=True, timeout=900, stdin=subprocess.DEVNULL,
                       env={**os.environ, "DEBIAN_FRONTEND": "noninteractive"})


# -- the measurement ---------------------------------------------------------------------------


class Bench:
    def __init__(self, rest, settle):
        self.rest, self.settle = rest, settle
        self.server = h.WebServer().start()
        self.server.add_page("/rest.html", PAGE)
        self.loaded = threading.Event()
        self.loaded_at = None

        def loaded(request):
            if not self.loaded.is_set():
                self.loaded_at = time.monotonic()
                self.loaded.set()
            request.reply(204)
        self.server.routes["/loaded"] = loaded

    def measure(self, make):
        display = h.XDisplay().start()
        program = make(display, self.server.url("/rest.html"))
        self.loaded.clear()
        try:
            # One kiosk per user: wait for one that runs elsewhere to end.
            if h.poll_until(lambda: not h.kiosk_channel_in_use(), 600, 1) is None:
                raise h.HarnessError("another Plintor kiosk kept running for ten minutes")
            started = time.monotonic()
            program.start(timeout=120)
            if not self.loaded.wait(120):
                raise h.HarnessError(f"{program.name}: the page did not report its load\n{program.describe()}")
            start_ms = (self.loaded_at - started) * 1000
            time.sleep(self.settle)
            pid = program.process.pid
            before_main, before_tree = context_switches([pid]), context_switches(tree(pid))
            time.sleep(self.rest)
            main, whole = context_switches([pid]), context_switches(tree(pid))
            if not program.alive():
                raise h.HarnessError(f"{program.name} ended during the rest\n{program.describe()}")
            pss, distinct, kinds = memory(pid)
            return {"start": start_ms, "pss": pss, "distinct": distinct,
                    "wakeups": switches_between(before_main, main) / self.rest,
                    "tree wakeups": switches_between(before_tree, whole) / self.rest,
                    "load": os.getloadavg()[0], "kinds": kinds}
        finally:
            program.stop()
            display.stop()


def measure_again_once(bench, make):
    """A measurement that failed is made again once: on a machine shared with others a helper
    (openbox) may fail to start, or someone else's clean-up may end a process by a stale id. The
    failure is shown, and a second one ends the run."""
    try:
        return bench.measure(make)
    except h.HarnessError as error:
        print(f"measured again after: {error}", file=sys.stderr, flush=True)
        return bench.measure(make)


def medians(runs):
    median = {key: statistics.median(run[key] for run in runs) for key in runs[0] if key != "kinds"}
    names = {name for run in runs for name in run["kinds"]}
    median["kinds"] = {name: tuple(statistics.median(run["kinds"].get(name, (0, 0))[i] for run in runs)
                                   for i in (0, 1)) for name in names}
    return median


def report(options, results):
    print(f"static page, {options.rounds} rounds, {options.rest} s of rest after {options.settle} s, "
          f"{options.deny_masks} masks in the kiosk's deny list; medians:")
    print(f"  {'program':10} {'start-up ms':>11} {'PSS MiB':>8} {'distinct MiB':>12} {'wakeups/s':>9} "
          f"{'tree wakeups/s':>14} {'load':>5}")
    for name, m in results.items():
        print(f"  {name:10} {m['start']:11.0f} {m['pss']:8.1f} {m['distinct']:12.1f} {m['wakeups']:9.2f} "
              f"{m['tree wakeups']:14.2f} {m['load']:5.2f}")
    print("  PSS / alone MiB of each kind of process:")
    for name, m in results.items():
        kinds = sorted(m["kinds"].items(), key=lambda item: -item[1][0])
        print(f"    {name:10} " + ", ".join(f"{kind} {pss:.1f}/{alone:.1f}" for kind, (pss, alone) in kinds))
    kiosk, bare, chromium = results["kiosk"], results["bare view"], results["chromium"]
    for key, what in (("start", "start-up"), ("pss", "PSS"), ("distinct", "distinct pages")):
        print(f"  {what}: kiosk / bare view {kiosk[key] / bare[key]:.2f} (goal: at most 1.00), "
              f"kiosk / chromium {kiosk[key] / chromium[key]:.2f} (goal: below 1)")
    print(f"  kiosk at rest: {kiosk['wakeups']:.2f} wakeups/s (goal: at most 1)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--rest", type=int, default=60, help="seconds of rest counted")
    parser.add_argument("--settle", type=int, default=10, help="seconds after the load before counting")
    parser.add_argument("--deny-masks", type=int, default=168854,
                        help="masks of the real block lists in the kiosk's deny list")
    parser.add_argument("--qt-binary", help="a Qt WebEngine build of the kiosk, measured beside the others")
    options = parser.parse_args()
    for path in (h.binary_path(), minimal_view_path(), options.qt_binary):
        if path and not os.access(path, os.X_OK):
            sys.exit(f"no program at {path} (build the targets plintor and plintor_minimal_view)")
    ensure_chromium()
    run_isolated()
    deny = deny_list(options.deny_masks)
    programs = {"kiosk": kiosk_with(deny), "bare view": MinimalView, "chromium": Chromium}
    if options.qt_binary:
        programs["qt kiosk"] = kiosk_with(deny, functools.partial(QtKiosk, os.path.abspath(options.qt_binary)),
                                          "qt-kiosk")
    runs = {name: [] for name in programs}
    bench = Bench(options.rest, options.settle)
    try:
        for round_number in range(options.rounds):
            for name, make in programs.items():
                runs[name].append(measure_again_once(bench, make))
                shown = {key: value for key, value in runs[name][-1].items() if key != "kinds"}
                print(f"round {round_number + 1}, {name}: {shown}", file=sys.stderr, flush=True)
    finally:
        h.stop_everything()
    report(options, {name: medians(results) for name, results in runs.items()})


if __name__ == "__main__":
    main()
