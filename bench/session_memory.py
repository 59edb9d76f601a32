#!/usr/bin/env python3
"""Measures whether the kiosk's memory stays bounded over many visits: the proportional set
size (PSS) of its whole process tree after the first idle return and after `--returns` returns
with `--navigations` page loads in all, and their ratio. Each return waits for the real idle
minute, so a full run takes about 25 minutes. Run on demand, not in the tests:

    python3 bench/session_memory.py [--returns 20] [--navigations 200] [--clear True|False]

It uses build/plintor (or $PLINTOR_BINARY) under its own virtual display, with pages from a
local server that each allocate and draw a few megabytes.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402

# A page that keeps a few megabytes alive: a canvas drawn full, some script objects, storage.
HEAVY_PAGE = b"""<!doctype html><body><canvas id=c width=1200 height=700></canvas><script>
const c = document.getElementById("c").getContext("2d");
for (let i = 0; i < 400; ++i) { c.fillStyle = `hsl(${i},70%,50%)`; c.fillRect(i * 3, i, 300, 300); }
window.keep = Array.from({length: 200000}, (_, i) => ({i, s: "x" + i}));
localStorage.setItem("bulk" + location.search, "y".repeat(200000));
</script></body></html>"""


def tree_pss_kib(pid):
    total = 0
    for member in [pid, *h.descendants(pid)]:
        try:
            with open(f"/proc/{member}/smaps_rollup") as rollup:
                for line in rollup:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            continue
    return total


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--returns", type=int, default=20)
    parser.add_argument("--navigations", type=int, default=200)
    parser.add_argument("--clear", default="True", help="ClearSessionOnReturn")
    options = parser.parse_args()

    server = h.WebServer().start()
    server.add_page("/heavy.html", HEAVY_PAGE)
    display = h.XDisplay().start()
    home = server.url("/index.html")
    config = {"Button1Width": 120, "Button1URL": home, "Button1Caption": "Home", "KillExplorer": "False",
              "AutoReturn": "1", "ReturnWarning": "0", "ClearSessionOnReturn": options.clear}
    kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name="memory")
    try:
        kiosk.start(wait_home=home)
        per_visit = max(1, options.navigations // options.returns)
        first = None
        for visit in range(1, options.returns + 1):
            for page in range(per_visit):
                kiosk.open_page(server.url(f"/heavy.html?v={visit}&p={page}"))
            since = kiosk.mark()
            kiosk.wait_log(r"^Return to home page$", 90, since)
            kiosk.wait_loaded(home, 30, since)
            time.sleep(3)  # the old page's processes end
            pss = tree_pss_kib(kiosk.process.pid)
            first = first or pss
            print(f"return {visit:2}: {visit * per_visit:4} navigations, PSS {pss / 1024:7.1f} MiB "
                  f"({pss / first:.2f} x the first)", flush=True)
        print(f"after {options.returns} returns: {pss / first:.2f} x the PSS after the first return")
    finally:
        h.stop_everything()


if __name__ == "__main__":
    main()
