#!/usr/bin/env python3
"""Measures whether the kiosk's memory stays bounded over many visits: the proportional set
size (PSS) of its whole process tree after the first idle return and after `--returns` returns
with `--navigations` page loads in all, and their ratio. Each return waits for the real idle
minute, so a full run takes about 25 minutes. Run on demand, not in the tests:

    python3 bench/session_memory.py [--returns 20] [--navigations 200] [--clear True|False]

It uses build/plintor (or $PLINTOR_BINARY) under its own virtual display, with pages from a
local server that each allocate and draw a few megabytes; PSS and distinct pages are counted as
bench/rest_and_start.py counts them, and as root the run is isolated the same way.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402
import rest_and_start  # noqa: E402

# A page that keeps a few megabytes alive: a canvas drawn full, some script objects, storage.
HEAVY_PAGE = b"""<!doctype html><body><canvas id=c width=1200 height=700></canvas><script>
const c = document.getElementById("c").getContext("2d");
for (let i = 0; i < 400; ++i) { c.fillStyle = `hsl(${i},70%,50%)`; c.fillRect(i * 3, i, 300, 300); }
window.keep = Array.from({length: 200000}, (_, i) => ({i, s: "x" + i}));
localStorage.setItem("bulk" + location.search, "y".repeat(200000));
</script></body></html>"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--returns", type=int, default=20)
    parser.add_argument("--navigations", type=int, default=200)
    parser.add_argument("--clear", default="True", help="ClearSessionOnReturn")
    options = parser.parse_args()
    rest_and_start.run_isolated()

    server = h.WebServer().start()
    server.add_page("/heavy.html", HEAVY_PAGE)
    display = h.XDisplay().start()
    home = server.url("/index.html")
    config = {"Button1Width": 120, "Button1URL": home, "Button1Caption": "Home", "KillExplorer": "False",
              "AutoReturn": "1", "ReturnWarning": "0", "ClearSessionOnReturn": options.clear}
    kiosk = h.Kiosk(display, config=config, whitelist=[f"http://127.0.0.1:{server.port}/*"], name="memory",
                    extra_env=rest_and_start.engine_defaults())
    try:
        kiosk.start(wait_home=home)
        per_visit = max(1, options.navigations // options.returns)
        first = None
        for visit in range(1, options.returns + 1):
            for page in range(per_visit):
                kiosk.open_page(server.url(f"/heavy.html?v={visit}&p={page}"))
            # After a return the idle time is armed again by the visitor's input, not by a page the
            # channel opened: a visitor's pointer moves over the page.
            display.move(300 + visit % 2 * 40, 400)
            since = kiosk.mark()
            kiosk.wait_log(r"^Return to home page$", 90, since)
            kiosk.wait_loaded(home, 30, since)
            time.sleep(3)  # the old page's processes end
            pss, distinct, _ = rest_and_start.memory(kiosk.process.pid)
            first = first or (pss, distinct)
            print(f"return {visit:2}: {visit * per_visit:4} navigations, PSS {pss:7.1f} MiB "
                  f"({pss / first[0]:.2f} x the first), distinct pages {distinct:7.1f} MiB "
                  f"({distinct / first[1]:.2f} x the first)", flush=True)
        print(f"after {options.returns} returns: {pss / first[0]:.2f} x the PSS and {distinct / first[1]:.2f} x the "
              "distinct pages after the first return")
    finally:
        h.stop_everything()


if __name__ == "__main__":
    main()
