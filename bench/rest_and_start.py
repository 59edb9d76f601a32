#!/usr/bin/env python3
"""Compares the kiosk with a bare full-screen web view (bench/MinimalView.cpp) on the same static
page: the wakeups of the main process at rest, the start-up time to the page's load and the
memory of the process tree. Run on demand, not in the tests:

    python3 bench/rest_and_start.py [--rounds 2] [--rest 60] [--settle 10]

Each round starts each program once, in turn, on a display of its own (Xvfb and openbox) with a
local server, the kiosk with every feature on, three buttons and a deny list of the first
--deny-masks masks of the real block lists (build/blocklists/masks-real.txt, made by
scripts/blocklists/prepare.sh). It uses build/plintor (or $PLINTOR_BINARY) and
build/bench/plintor_minimal_view (or $PLINTOR_MINIMAL_VIEW).

How it counts:
- wakeups: the context switches (voluntary_ctxt_switches + nonvoluntary_ctxt_switches in
  /proc/PID/task/TID/status) of every thread of the main process, summed at the start and at
  the end of --rest seconds of rest (after --settle seconds without anything happening), per
  thread; a thread that sleeps and is woken counts one switch each time it goes back to sleep.
  A thread that starts in between counts whole, one that ends in between counts nothing. The
  engine's renderer and GPU processes are its own and are not counted. The main thread's share
  is printed beside it.
- start-up: from starting the process to the page's load event, which the page reports to the
  server (the same path for both programs).
- memory: the proportional set size (Pss in /proc/PID/smaps_rollup) of the process and every
  process below it, taken at the end of the rest.
"""

import argparse
import datetime
import os
import statistics
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402

# Static: no script runs after the load report, nothing moves.
PAGE = b"""<!doctype html><title>Rest</title><body style="font: 20px sans-serif">
<h1>A static page</h1><p>Nothing on this page moves.</p>
<script>addEventListener('load', () => fetch('/loaded'));</script></body>"""


def minimal_view_path():
    path = os.environ.get("PLINTOR_MINIMAL_VIEW") or os.path.join(h.REPO, "build", "bench", "plintor_minimal_view")
    return os.path.abspath(path)


def context_switches(pid):
    """Context switches so far of each thread of the process: {thread id: count}."""
    counts = {}
    try:
        threads = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return counts
    for tid in threads:
        try:
            with open(f"/proc/{pid}/task/{tid}/status") as status:
                counts[int(tid)] = sum(int(line.split()[1]) for line in status
                                       if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")))
        except OSError:
            continue
    return counts


def switches_between(before, after, pid):
    """(all threads, main thread): what each thread added; a new thread counts whole, one that
    ended counts nothing (its last count is gone with it)."""
    added = {tid: count - before.get(tid, 0) for tid, count in after.items()}
    return sum(added.values()), added.get(pid, 0)


def tree_pss_kib(pid):
    total = 0
    for member in [pid, *h.descendants(pid)]:
        try:
            with open(f"/proc/{member}/smaps_rollup") as rollup:
                total += sum(int(line.split()[1]) for line in rollup if line.startswith("Pss:"))
        except OSError:
            continue
    return total


class MinimalView(h.Kiosk):
    """The bare view, started and stopped like the kiosk (private folders, the same engine flags)."""

    def __init__(self, display, address):
        super().__init__(display, name="minimal-view")
        self.address = address

    def command(self):
        return [minimal_view_path(), self.address]


def every_feature_on(home):
    # A restart time half a day away: on, and never due during the measurement.
    restart = (datetime.datetime.now() + datetime.timedelta(hours=12)).strftime("%H:%M")
    return {"Button1Width": 120, "Button1URL": home, "Button2Width": 120, "Button2URL": home,
            "Button3Width": 120, "Button3URL": home,
            "NavigationPanel": "True", "TouchKeyboard": "True", "DisplayAlwaysOn": "True", "AutoReturn": 10,
            "AutoRestart": restart, "DownloadPDF": "True", "Wheelchair": 20, "AutoCloseAll": "True",
            "KillExplorer": "True", "ProgressIndicator": "True", "Screensaver": home, "DenyAllRequests": "True",
            "ClearSessionOnReturn": "True", "ReturnWarning": 30}


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
            # One kiosk per user: wait for one that runs elsewhere to end (the bare view has none).
            if h.poll_until(lambda: not h.kiosk_channel_in_use(), 600, 1) is None:
                raise h.HarnessError("another Plintor kiosk kept running for ten minutes")
            started = time.monotonic()
            program.start(timeout=120)
            if not self.loaded.wait(120):
                raise h.HarnessError(f"{program.name}: the page did not report its load\n{program.describe()}")
            start_ms = (self.loaded_at - started) * 1000
            time.sleep(self.settle)
            pid = program.process.pid
            before = context_switches(pid)
            time.sleep(self.rest)
            after = context_switches(pid)
            if not program.alive():
                raise h.HarnessError(f"{program.name} ended during the rest\n{program.describe()}")
            total, main = switches_between(before, after, pid)
            return {"wakeups": total / self.rest, "main": main / self.rest,
                    "start": start_ms, "pss": tree_pss_kib(pid) / 1024}
        finally:
            program.stop()
            display.stop()


def deny_list(masks):
    """The first `masks` masks of the real block lists (scripts/blocklists/prepare.sh)."""
    path = os.path.join(h.REPO, "build", "blocklists", "masks-real.txt")
    if not os.path.exists(path):
        sys.exit(f"no block list at {path} (run scripts/blocklists/prepare.sh)")
    with open(path) as lines:
        return [line.rstrip("\n") for _, line in zip(range(masks), lines)]


def kiosk_with(deny):
    def kiosk(display, address):
        return h.Kiosk(display, config=every_feature_on(address), whitelist=[address.rsplit("/", 1)[0] + "/*"],
                       blacklist=deny, name="kiosk-rest")
    return kiosk


def summary(name, runs):
    median = {key: statistics.median(run[key] for run in runs) for key in runs[0]}
    print(f"  {name:13} wakeups/s {median['wakeups']:7.2f} (main thread {median['main']:6.2f})   "
          f"start-up {median['start']:7.0f} ms   PSS {median['pss']:7.1f} MiB")
    return median


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--rest", type=int, default=60, help="seconds of rest counted")
    parser.add_argument("--settle", type=int, default=10, help="seconds after the load before counting")
    parser.add_argument("--deny-masks", type=int, default=168854,
                        help="masks of the real block lists in the kiosk's deny list")
    options = parser.parse_args()
    if not os.access(minimal_view_path(), os.X_OK):
        sys.exit(f"no bare view at {minimal_view_path()} (build the target plintor_minimal_view)")
    bench = Bench(options.rest, options.settle)
    kiosk = kiosk_with(deny_list(options.deny_masks))
    kiosk_runs, minimal_runs = [], []
    try:
        for round_number in range(options.rounds):  # interleaved, so that drift of the machine hits both
            for runs, make in ((kiosk_runs, kiosk), (minimal_runs, MinimalView)):
                runs.append(bench.measure(make))
                print(f"round {round_number + 1}: {runs[-1]}", file=sys.stderr, flush=True)
    finally:
        h.stop_everything()
    print(f"static page, {options.rounds} rounds, {options.rest} s of rest each after {options.settle} s, "
          f"{options.deny_masks} masks in the kiosk's deny list; medians:")
    k = summary("kiosk", kiosk_runs)
    m = summary("minimal view", minimal_runs)
    ratio = lambda key: f"{k[key] / m[key]:.2f}" if m[key] > 0 else f"{k[key]:.2f} vs 0"  # noqa: E731
    print(f"  kiosk / minimal view: wakeups {ratio('wakeups')}, start-up {ratio('start')}, PSS {ratio('pss')}")
    print(f"  kiosk at rest: {k['wakeups']:.2f} wakeups/s (goal: at most 1)")


if __name__ == "__main__":
    main()
