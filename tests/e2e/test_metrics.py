"""End-to-end tests of the metrics file for Prometheus's node_exporter (MetricsFile): what a
running kiosk writes, checked by the real promtool; its counts moving with the visitor's page
and its return; the last file at the end; a file that cannot be written. Also the example
alert rules the README points to.

Run through tests/e2e/run_e2e.sh test_metrics (CTest: e2e_metrics).
"""

import json
import os
import re
import shutil
import subprocess
import time

import harness as h

ALERT_RULES = os.path.join(h.REPO, "deploy", "prometheus", "plintor-alerts.yml")

display = server = None


def setUpModule():
    global display, server
    display = h.XDisplay().start()
    server = h.WebServer().start()
    server.add_page("/index.html", "<html><body>Home</body></html>")
    server.add_page("/other.html", "<html><body>Other</body></html>")


def tearDownModule():
    h.stop_everything()


def url(path):
    return server.url(path)


def promtool(*args):
    result = subprocess.run(["promtool", *args], capture_output=True, timeout=30, stdin=subprocess.DEVNULL)
    return result.returncode, (result.stdout + result.stderr).decode(errors="replace")


def samples(text):
    """{'name' or 'name{labels}': value} of the file's sample lines."""
    found = {}
    for line in text.splitlines():
        if line and not line.startswith("#"):
            key, value = line.rsplit(" ", 1)
            found[key] = float(value)
    return found


class MetricsFileTests(h.KioskTestCase):

    def config(self, metrics_file, **more):
        return {"Button1Width": 120, "Button1URL": url("/index.html"), "KillExplorer": "False",
                "MetricsFile": metrics_file, **more}

    def read_metrics(self, path, what, condition=lambda found: True, timeout=20):
        """The file's text once it exists and condition holds for its samples."""
        def ready():
            try:
                with open(path, encoding="utf-8") as metrics:
                    text = metrics.read()
            except FileNotFoundError:
                return None
            return text if condition(samples(text)) else None
        text = h.poll_until(ready, timeout, 0.2)
        if text is None:
            self.fail(f"{what}: the metrics file did not come within {timeout} s\n{self.kiosk.describe()}")
        checked = subprocess.run(["promtool", "check", "metrics"], input=text.encode(), capture_output=True,
                                 timeout=30)
        self.assertEqual(checked.returncode, 0, f"{what}: promtool rejects the file:\n"
                         f"{(checked.stdout + checked.stderr).decode(errors='replace')}\n{text}")
        return samples(text)

    # One run: the start, a page and a refusal, the idle return (which writes the file before the
    # minute is over), and the end.
    def test_counts_move_with_the_page_and_the_last_file_says_down(self):
        folder = self.temporary_folder("textfile")
        path = os.path.join(folder, "plintor.prom")
        self.kiosk = self.start_own_kiosk(
            h.Kiosk(display, config=self.config(path, AutoReturn=1, ReturnWarning=0),
                    whitelist=[url("/*")], blacklist=[url("/private*")], name="metrics"),
            url("/index.html"))
        started = time.time()
        first = self.read_metrics(path, "at the start")
        self.assertEqual(first["plintor_up"], 1)
        self.assertLessEqual(abs(first["plintor_start_time_seconds"] - started), 60)
        self.assertEqual(first['plintor_engine_info{version="' + self.engine() + '"}'], 1)
        self.assertGreater(first.get("plintor_memory_bytes", 0), 0)

        since = self.kiosk.mark()
        self.kiosk.open_page(url("/other.html"))
        self.kiosk.send_navigate(url("/private/records.html"))
        self.kiosk.wait_navigation(url("/private/records.html"), allowed=False, since=since)
        self.kiosk.wait_log(r"^Return to home page$", 90, since)
        after = self.read_metrics(path, "after the return",
                                  lambda found: found.get("plintor_idle_returns_total") == 1)
        shutil.copy(path, os.path.join(h.artifacts_dir(), "metrics-after-return.prom"))  # for the record
        self.assertGreaterEqual(after["plintor_page_loads_total"], first["plintor_page_loads_total"] + 1)
        self.assertEqual(after["plintor_blocked_navigations_total"],
                         first["plintor_blocked_navigations_total"] + 1)
        self.assertEqual(after['plintor_list_masks{list="deny"}'], 1)
        self.assertGreaterEqual(after['plintor_list_masks{list="allow"}'], 1)
        self.assertLessEqual(abs(after["plintor_last_list_load_timestamp_seconds"] - started), 60)

        self.kiosk.send_quit()
        self.assertIsNotNone(self.kiosk.wait_exit(30), "the kiosk did not end")
        last = self.read_metrics(path, "at the end")
        self.assertEqual(last["plintor_up"], 0)
        self.assertEqual(last["plintor_idle_returns_total"], 1)
        self.assertEqual(os.listdir(folder), ["plintor.prom"], "a temporary file was left")

    def test_file_that_cannot_be_written_is_logged_once_and_the_kiosk_goes_on(self):
        path = os.path.join(self.temporary_folder("missing"), "no-such-folder", "plintor.prom")
        self.kiosk = self.start_own_kiosk(
            h.Kiosk(display, config=self.config(path), whitelist=[url("/*")], name="metrics-missing"),
            url("/index.html"))
        self.kiosk.wait_log(rf"^Metrics not written to {re.escape(path)}: ")
        self.kiosk.open_page(url("/other.html"))
        self.assertEqual(len(self.kiosk.find_log(r"^Metrics not written")), 1)

    def engine(self):
        """The engine's version as the kiosk's status reports it."""
        status = json.loads(self.kiosk.run_sender("--send", "status").stdout.decode())
        return status["engine"].split()[-1]


class AlertRulesTests(h.KioskTestCase):

    def test_example_alert_rules_load(self):
        code, output = promtool("check", "rules", ALERT_RULES)
        self.assertEqual(code, 0, output)
        self.assertIn("SUCCESS: 3 rules found", output)
