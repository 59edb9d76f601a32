#!/usr/bin/env python3
"""Times a page with 200 sub-resources on loopback in the real kiosk, once with an empty deny
list and once with a million deny masks (DenyAllRequests on: every request is judged), and
prints the median load times and their ratio. Run on demand, not in the tests:

    python3 bench/deny_all_requests.py [--rounds 3] [--loads 15]

It uses build/plintor (or $PLINTOR_BINARY) and build/blocklists/masks-1000000.txt when
`scripts/blocklists/prepare.sh build/blocklists` has written it, else a million made-up host
masks. The load time is the page's own (navigation timing, from the start of the navigation to
its load event), which the page reports to the server.

The page has one more image, whose address the million-mask list denies: the server sees whether
the kiosk judged the sub-resources at all, and the result says so. As root the run happens in
network and mount namespaces of its own (see bench/rest_and_start.py).
"""

import argparse
import os
import statistics
import sys
import tempfile
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness as h  # noqa: E402
import rest_and_start  # noqa: E402

RESOURCES = 200
PIXEL = bytes.fromhex("89504e470d0a1a0a0000000d4948445200000001000000010806000000"
                      "1f15c4890000000d49444154789c6360000002000001e221bc330000000049454e44ae426082")


def page():
    images = "".join(f'<img src="/r/{i}.png?n=__N__" width="4" height="4">' for i in range(RESOURCES))
    denied = '<img src="/denied/pixel.png?n=__N__" width="4" height="4">'
    report = ("addEventListener('load', () => setTimeout(() => { const t = performance.getEntriesByType"
              "('navigation')[0]; fetch('/done?ms=' + (t.loadEventStart - t.startTime)); }, 0));")
    return f"<!doctype html><title>Bench</title><body>{images}{denied}<script>{report}</script>"


def write_deny_masks(path, denied):
    """A million masks and the one that denies the page's extra image; returns their source."""
    real = os.path.join(rest_and_start.BUILD, "blocklists", "masks-1000000.txt")
    with open(path, "w", newline="") as out:
        out.write(denied + "\r\n")
        if os.path.exists(real):
            with open(real) as masks:
                for line in masks:
                    out.write(line.rstrip("\n") + "\r\n")
            return "build/blocklists/masks-1000000.txt"
        for i in range(250000):
            host = f"tracker{i}.ads{i % 97}.example"
            out.write(f"*://{host}\r\n*://{host}[/:#]*\r\n*://*.{host}\r\n*://*.{host}[/:#]*\r\n")
        return "a million made-up host masks"


class Bench:
    def __init__(self):
        self.display = h.XDisplay().start()
        self.server = h.WebServer().start()
        self.times = []
        self.denied_fetched = 0
        body = page()
        self.server.routes["/page.html"] = lambda request: request.reply(
            200, body.replace("__N__", urllib.parse.urlsplit(request.path).query or "0").encode())
        self.server.routes["/done"] = self._done
        self.server.routes["/denied/pixel.png"] = self._denied
        for i in range(RESOURCES):
            self.server.add_page(f"/r/{i}.png", PIXEL, content_type="image/png")

    def _done(self, request):
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(request.path).query)
        self.times.append(float(query["ms"][0]))
        request.reply(204)

    def _denied(self, request):
        self.denied_fetched += 1
        request.reply(200, PIXEL, content_type="image/png")

    def run(self, name, blacklist_file, loads):
        """The measured load times, and how often the image the list denies was fetched."""
        config = {"Button1Width": 120, "Button1URL": self.server.url("/page.html"), "KillExplorer": "False",
                  "DenyAllRequests": "True"}
        kiosk = h.Kiosk(self.display, config=config, whitelist=[self.server.url("/*")], blacklist=[], name=name,
                        extra_env=rest_and_start.engine_defaults())
        if blacklist_file:
            os.remove(os.path.join(kiosk.home, "Blacklist.txt"))
            os.symlink(blacklist_file, os.path.join(kiosk.home, "Blacklist.txt"))
        denied_before = self.denied_fetched
        try:
            kiosk.start(wait_home=self.server.url("/page.html"), timeout=120)
            measured = []
            for load in range(loads + 1):
                before = len(self.times)
                kiosk.send_navigate(self.server.url(f"/page.html?{time.monotonic_ns()}"))
                if h.poll_until(lambda: len(self.times) > before, 60) is None:
                    kiosk.fail(f"{name}: the page did not report its load")
                if load > 0:  # the first load warms the engine up
                    measured.append(self.times[-1])
            return measured, self.denied_fetched - denied_before
        finally:
            kiosk.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--loads", type=int, default=15)
    options = parser.parse_args()
    if not os.access(h.binary_path(), os.X_OK):
        sys.exit(f"no kiosk at {h.binary_path()} (build the target plintor)")
    rest_and_start.run_isolated()
    bench = Bench()
    masks = os.path.join(tempfile.mkdtemp(prefix="plintor-bench-"), "masks.txt")
    source = write_deny_masks(masks, bench.server.url("/denied/*"))
    empty, full, leaked = [], [], 0
    try:
        for _ in range(options.rounds):  # interleaved, so that drift of the machine hits both
            empty += bench.run("empty-list", None, options.loads)[0]
            times, fetched = bench.run("million-masks", masks, options.loads)
            full += times
            leaked += fetched
    finally:
        h.stop_everything()
        os.remove(masks)
        os.rmdir(os.path.dirname(masks))
    empty_median, full_median = statistics.median(empty), statistics.median(full)
    print(f"page with {RESOURCES} sub-resources on loopback, {len(empty)} loads each; deny list: {source}; "
          f"load average {os.getloadavg()[0]:.2f}")
    print(f"  empty deny list:    median {empty_median:7.1f} ms (p90 {statistics.quantiles(empty, n=10)[-1]:.1f})")
    print(f"  1 000 000 masks:    median {full_median:7.1f} ms (p90 {statistics.quantiles(full, n=10)[-1]:.1f})")
    print(f"  ratio:              {full_median / empty_median:.3f} (goal: at most 1.05)")
    if leaked:
        print(f"  the denied image was fetched {leaked} times with the million masks: this build does not judge "
              "the sub-resources, so the ratio says nothing of the deny list's cost")
    else:
        print("  the denied image was never fetched with the million masks: every sub-resource was judged")


if __name__ == "__main__":
    main()
