"""End-to-end tests of one host in two alphabets: deny masks written in punycode or in Unicode
stop the host however the visitor or a page spells it, at the navigation and at every request
below the page. The test names resolve to the loopback server through an /etc/hosts of the
test's own, bind-mounted in the private mount namespace that run_e2e.sh gives the run. The
engine looks names up for one address family at a time with AI_ADDRCONFIG, which finds nothing
while the only addresses are loopback ones; so the private network namespace's loopback device
also gets a documentation address (RFC 5737) that nothing answers on."""

import os
import subprocess
import tempfile
import unittest
import urllib.parse

import harness as h

display = server = hosts_file = None

DENIED_PUNYCODE = "xn--bcher-kva.test"  # bücher.test, denied by masks in punycode
DENIED_UNICODE = "xn--tst2-loa.test"  # täst2.test, denied by masks in Unicode
ALLOWED = "xn--ffen-4qa.test"  # öffen.test
TRACKERS = 6


ADDRESS_CONFIG = "192.0.2.1/32"


def setUpModule():
    global display, server, hosts_file
    if os.geteuid() != 0 or not (h.in_private_namespace("mnt") and h.in_private_namespace("net")):
        raise unittest.SkipTest("needs run_e2e.sh's private namespaces to give the test names an address")
    with tempfile.NamedTemporaryFile("w", prefix="plintor-e2e-hosts-", delete=False) as hosts:
        hosts.write(f"127.0.0.1 localhost {DENIED_PUNYCODE} {DENIED_UNICODE} {ALLOWED}\n::1 localhost\n")
        hosts_file = hosts.name
    h.run_tool(["mount", "--bind", hosts_file, "/etc/hosts"])
    h.run_tool(["ip", "address", "add", ADDRESS_CONFIG, "dev", "lo"])
    display = h.XDisplay().start()
    server = h.WebServer().start()
    add_routes()


def tearDownModule():
    h.stop_everything()
    if hosts_file is not None:
        subprocess.run(["ip", "address", "del", ADDRESS_CONFIG, "dev", "lo"], check=False, timeout=10)
        subprocess.run(["umount", "/etc/hosts"], check=False, timeout=10)
        os.unlink(hosts_file)


def at(host, path):
    return f"http://{host}:{server.port}{path}"


def add_routes():
    server.add_page("/allowed.html", "<!doctype html><title>Allowed</title><body style='background:#2e9d4f'>")
    images = "".join(f'<img src="{at(host, f"/idn-tracker/p{i}.png")}" width="8" height="8">'
                     for i in range(TRACKERS // 2)
                     for host in ("b\u00fccher.test", "T\u00c4ST2.test"))
    server.add_page("/tracked.html", f"<!doctype html><title>Tracked</title><body>{images}"
                    f"<img src='/pixel.png' width='8' height='8'>")
    server.add_page("/pixel.png", b"\x89PNG\r\n\x1a\n", content_type="image/png")


class IdnHostTests(h.KioskTestCase):
    @classmethod
    def setUpClass(cls):
        home = at(ALLOWED, "/allowed.html")
        config = {"Button1Width": 120, "Button1URL": home, "KillExplorer": "False"}
        blacklist = h.host_masks(DENIED_PUNYCODE) + h.host_masks("t\u00e4st2.test")
        kiosk = h.Kiosk(display, config=config, whitelist=["*"], blacklist=blacklist, name="idn",
                        extra_env={"TMPDIR": cls.temporary_folder("idn")})
        cls.start_shared_kiosk(kiosk, home)

    def test_an_allowed_idn_host_loads_from_its_unicode_spelling(self):
        """The names resolve: a refusal below is the lists' doing, not a failed look-up."""
        since, requests = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(at("\u00f6ffen.test", "/allowed.html?unicode"))
        self.kiosk.wait_loaded(at(ALLOWED, "/allowed.html?unicode"), since=since)
        server.wait_request("/allowed.html?unicode", since=requests)

    def test_a_denied_host_is_refused_in_either_alphabet(self):
        for number, host in enumerate((DENIED_PUNYCODE, "b\u00fccher.test", "B\u00dcCHER.test",
                                       DENIED_UNICODE, "t\u00e4st2.test", "www.t\u00e4st2.test")):
            with self.subTest(host=host):
                address = at(host, f"/secret{number}.html")
                since, requests = self.kiosk.mark(), server.mark()
                self.kiosk.send_navigate(address)
                entry = self.kiosk.wait_log(r"^BeforeNavigate: ", since=since)
                self.expect(entry.text.endswith("(False)"), f"{address} was let through: {entry.text}")
                self.kiosk.open_page(at(ALLOWED, "/allowed.html"))  # handled after it: a barrier
                path = urllib.parse.urlsplit(address).path
                self.expect(path not in server.paths(requests), f"{address} reached the server")

    def test_requests_below_the_page_to_a_denied_host_are_refused(self):
        since, requests = self.kiosk.mark(), server.mark()
        self.kiosk.send_navigate(at(ALLOWED, "/tracked.html"))
        self.kiosk.wait_loaded(at(ALLOWED, "/tracked.html"), since=since)
        server.wait_request("/pixel.png", since=requests)  # the page's own request went through
        entry = self.kiosk.wait_log(r"^Blocked requests: \d+$", 10, since)
        count = int(entry.text.split()[-1])
        self.expect(count >= TRACKERS, f"only {count} of {TRACKERS} requests were counted")
        reached = [path for path in server.paths(requests) if path.startswith("/idn-tracker")]
        self.expect(not reached, f"requests to the denied hosts reached them: {reached}")


if __name__ == "__main__":
    unittest.main()
