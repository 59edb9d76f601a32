#!/usr/bin/env python3
"""Measures what the shared deny list costs each web process: the proportional set size (PSS)
and the private dirty memory of every web process, with the request guard judging by a large
deny list and without any list, and what the list's own mapping costs in each process. Run on
demand, not in the tests:

    python3 bench/web_process_memory.py [--views 2] [--masks build/blocklists/masks-real.txt]

It runs build/plintor_web_process_memory (or $PLINTOR_MEMORY_PROBE; built with
-DPLINTOR_BUILD_BENCH=ON in a GTK build) on a virtual display of its own. The list is written
once by the program; each web process maps it read-only, so its pages should count once in
all, split between the processes, and add no private memory.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402
from harness.processes import read_line  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
READY_LIMIT = 180  # seconds: compiling a million masks takes a few
SETTLE = 3  # seconds after the pages loaded: the engine's start-up work ends


def rollup(pid):
    """Pss, Private_Dirty and Rss of a process in KiB."""
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as lines:
        for line in lines:
            name, _, rest = line.partition(":")
            if name in ("Rss", "Pss", "Private_Dirty"):
                values[name] = int(rest.split()[0])
    return values


def list_mapping(pid):
    """Rss, Pss and private KiB of the deny list image's mapping in a process (zeros if none)."""
    found, inside = {"Rss": 0, "Pss": 0, "Private": 0}, False
    with open(f"/proc/{pid}/smaps") as lines:
        for line in lines:
            fields = line.split()
            if "-" in fields[0] and len(fields) >= 5:
                inside = len(fields) >= 6 and "/plintor-deny-lists/" in fields[5] \
                    and os.path.basename(fields[5]).startswith("list-")
            elif inside and fields[0] in ("Rss:", "Pss:"):
                found[fields[0][:-1]] += int(fields[1])
            elif inside and fields[0] in ("Private_Clean:", "Private_Dirty:"):
                found["Private"] += int(fields[1])
    return found


def image_root():
    runtime = os.environ.get("XDG_RUNTIME_DIR") or os.path.expanduser("~/.cache")
    return os.path.join(runtime, "plintor-deny-lists")


def median_run(runs):
    """Each figure the median over the runs, process by process."""
    def med(pick):
        return int(statistics.median(pick(run) for run in runs))
    web = []
    for index in range(len(runs[0]["web"])):
        memory = {key: med(lambda run: run["web"][index][1][key]) for key in runs[0]["web"][index][1]}
        mapping = {key: med(lambda run: run["web"][index][2][key]) for key in runs[0]["web"][index][2]}
        web.append((None, memory, mapping))
    program = {key: med(lambda run: run["program"][key]) for key in runs[0]["program"]}
    return {"program": program, "image": med(lambda run: run["image"]), "web": web}


def web_processes(pid):
    found = []
    for child in h.descendants(pid):
        try:
            with open(f"/proc/{child}/comm") as comm:
                if comm.read().startswith("WebKitWebProces"):
                    found.append(child)
        except OSError:
            continue
    return sorted(found)


def measure(display, probe, views, masks):
    args = [probe, str(views)] + ([masks] if masks else [])
    errors = open(os.path.join(display._logs, "probe.txt"), "w+b")
    process = subprocess.Popen(args, env=display.env(), stdout=subprocess.PIPE,
                               stderr=errors, start_new_session=True)
    try:
        try:
            line = read_line(process.stdout.fileno(), READY_LIMIT, "the memory probe")
        except h.HarnessError as error:
            errors.seek(0)
            raise h.HarnessError(f"{error}: {errors.read()[-2000:].decode(errors='replace')}") from None
        if line != "ready":
            raise h.HarnessError(f"the memory probe said {line!r}")
        time.sleep(SETTLE)
        processes = web_processes(process.pid)
        if len(processes) != views:
            raise h.HarnessError(f"{len(processes)} web processes for {views} views")
        images = [os.path.join(folder, name) for folder, _, names in os.walk(image_root())
                  for name in names if name.startswith("list-")]
        return {"program": rollup(process.pid), "image": sum(map(os.path.getsize, images)) // 1024,
                "web": [(pid, rollup(pid), list_mapping(pid)) for pid in processes]}
    finally:
        h.kill_process_tree(process)
        errors.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--views", type=int, default=2)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--masks", default=os.path.join(ROOT, "build", "blocklists", "masks-real.txt"))
    options = parser.parse_args()
    probe = os.environ.get("PLINTOR_MEMORY_PROBE", os.path.join(ROOT, "build", "plintor_web_process_memory"))
    with open(options.masks) as masks:
        count = sum(1 for _ in masks)
    display = h.XDisplay(window_manager=False).start()
    try:
        without = median_run([measure(display, probe, options.views, None) for _ in range(options.runs)])
        with_list = median_run([measure(display, probe, options.views, options.masks)
                                for _ in range(options.runs)])
    finally:
        display.stop()
    print(f"{count} masks from {options.masks}, an image of {with_list['image']} KiB; "
          f"{options.views} web processes; medians of {options.runs} runs; KiB")
    print(f"{'':28}{'PSS':>10}{'private dirty':>15}{'RSS':>10}{'list RSS':>10}{'list PSS':>10}"
          f"{'list private':>14}")
    for name, run in (("without a list", without), ("with the list", with_list)):
        print(f"{name}, program{'':>{13 - len(name) + 6}}{run['program']['Pss']:>8}"
              f"{run['program']['Private_Dirty']:>15}{run['program']['Rss']:>10}")
        for index, (_, memory, mapping) in enumerate(run["web"], 1):
            label = f"{name}, web process {index}"
            print(f"{label:28}{memory['Pss']:>10}{memory['Private_Dirty']:>15}{memory['Rss']:>10}"
                  f"{mapping['Rss']:>10}{mapping['Pss']:>10}{mapping['Private']:>14}")
    extra = [w[1]["Private_Dirty"] - o[1]["Private_Dirty"] for w, o in zip(with_list["web"], without["web"])]
    print("private dirty added per web process by the list: " + ", ".join(f"{k} KiB" for k in extra))


if __name__ == "__main__":
    main()
