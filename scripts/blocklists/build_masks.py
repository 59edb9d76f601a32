#!/usr/bin/env python3
"""Deny lists in the kiosk's mask language, made from public block lists.

  build_masks.py real --assets DIR --output FILE
      Host filters of EasyList and EasyPrivacy ("||host^", optionally with options that only
      name request types) and the URLhaus host and address entries, as masks. The masks are
      written in a fixed shuffled order, so the first N lines are a fair sample of all sources.

  build_masks.py pad --input FILE --count N --seed S --output FILE
      The input's masks followed by made-up host masks until there are N distinct masks.
      The same seed always gives the same list.

A host becomes four masks. The kiosk matches the whole upper-cased address without its query
and without one trailing "/", and "*" runs across "/", so "*://HOST/*" alone would let the
bare "http://host/" (its key is "HTTP://HOST") and "http://host:8080/" through:

  *://HOST          *://HOST[/:#]*          *://*.HOST          *://*.HOST[/:#]*

An IPv4 address has no sub-domains and keeps the first two. A URLhaus address entry becomes
"HTTP*://HOST/PATH*" (the path cut where the query begins, which the kiosk never sees).
"""

import argparse
import random
import re
import sys
from pathlib import Path

SOURCES = [
    "thirdparties/easylist/easylist.txt",
    "thirdparties/easylist/easyprivacy.txt",
    "thirdparties/urlhaus-filter/urlhaus-filter-online.txt",
]
HOST = r"[a-z0-9](?:[a-z0-9-]*[a-z0-9])?(?:\.[a-z0-9](?:[a-z0-9-]*[a-z0-9])?)+"
HOST_FILTER = re.compile(r"^\|\|(" + HOST + r")\^(?:\$([a-z0-9,~-]+))?$")
ADDRESS_FILTER = re.compile(r"^\|\|(" + HOST + r"(?::\d+)?)(/[^\^|$]*)\^?(?:\$all)?$")
PLAIN_HOST = re.compile(r"^(" + HOST + r")$")
IPV4 = re.compile(r"^\d{1,3}(?:\.\d{1,3}){3}$")
# Options that only say which requests a filter applies to; anything else (domain=,
# redirect=, csp=, exceptions with "~") changes what the filter means, and it is skipped.
TYPE_OPTIONS = {
    "all", "third-party", "3p", "first-party", "1p", "popup", "document", "doc", "script",
    "image", "subdocument", "ping", "xmlhttprequest", "xhr", "websocket", "object", "media",
    "stylesheet", "font", "other", "important",
}
SHUFFLE_SEED = 20240611
TLDS = ["COM", "NET", "ORG", "DE", "RU", "CN", "IO", "INFO", "XYZ", "TOP", "CO.UK", "FR", "NL",
        "BR", "IN", "ONLINE", "SITE", "SHOP", "CLICK", "LINK", "BIZ", "APP", "DEV", "JP", "IT"]
SYLLABLES = ["AD", "TRACK", "STAT", "CDN", "PIX", "CLICK", "SERV", "MEDIA", "TAG", "SYNC",
             "BID", "METRIC", "LOG", "CAST", "NET", "WEB", "PUSH", "POP", "LEAD", "GO",
             "ZON", "RA", "KI", "MO", "TU", "LI", "VE", "XA", "QU", "BE", "NO", "SI"]


def host_masks(host):
    host = host.upper()
    masks = ["*://" + host, "*://" + host + "[/:#]*"]
    if not IPV4.match(host):
        masks += ["*://*." + host, "*://*." + host + "[/:#]*"]
    return masks


def address_mask(host, path):
    path = path.split("?", 1)[0].replace("[", "[[]")
    return "HTTP*://" + host.upper() + path.upper() + "*"


def masks_of_line(line, source):
    line = line.strip()
    if not line or line.startswith(("!", "@@", "#", "[")):
        return []
    match = HOST_FILTER.match(line)
    if match:
        options = set((match.group(2) or "").split(",")) - {""}
        return host_masks(match.group(1)) if options <= TYPE_OPTIONS else []
    if "urlhaus" not in source:
        return []
    match = ADDRESS_FILTER.match(line)
    if match:
        return [address_mask(match.group(1), match.group(2))]
    match = PLAIN_HOST.match(line)
    return host_masks(match.group(1)) if match else []


def real_masks(assets):
    masks = {}
    for source in SOURCES:
        path = Path(assets) / source
        count = len(masks)
        with open(path, encoding="utf-8", errors="replace") as lines:
            for line in lines:
                for mask in masks_of_line(line, source):
                    masks.setdefault(mask, None)
        print(f"{source}: {len(masks) - count} masks", file=sys.stderr)
    ordered = list(masks)
    random.Random(SHUFFLE_SEED).shuffle(ordered)
    return ordered


def synthetic_label(rng):
    """A host label shaped like the listed ones: made of syllables, or random letters and
    digits (as many ad and malware hosts are), sometimes with a number."""
    if rng.random() < 0.4:
        length = rng.randint(6, 15)
        return "".join(rng.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") for _ in range(length))
    label = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4)))
    return label + (str(rng.randint(1, 9999)) if rng.random() < 0.3 else "")


def synthetic_host(rng):
    host = synthetic_label(rng) + "." + rng.choice(TLDS)
    if rng.random() < 0.4:
        host = rng.choice(["WWW", "ADS", "STATIC", "API", "IMG", "M"]) + str(rng.randint(1, 99)) + "." + host
    return host


def synthetic_masks(rng):
    host = synthetic_host(rng)
    if rng.random() < 0.2:
        path = "/" + "/".join(rng.choice(SYLLABLES) + str(rng.randint(0, 999))
                              for _ in range(rng.randint(1, 3)))
        return [address_mask(host, path + rng.choice([".JS", ".PHP", ".EXE", ".ZIP", "/"]))]
    return host_masks(host)


def padded(masks, count, seed):
    rng = random.Random(seed)
    result = dict.fromkeys(masks[:count])
    while len(result) < count:
        for mask in synthetic_masks(rng):
            if len(result) < count:
                result.setdefault(mask, None)
    return list(result)


def write_lines(path, lines):
    Path(path).parent.mkdir(parents=True, exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.writelines(line + "\n" for line in lines)
    print(f"{path}: {len(lines)} masks", file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    modes = parser.add_subparsers(dest="mode", required=True)
    real = modes.add_parser("real")
    real.add_argument("--assets", required=True)
    real.add_argument("--output", required=True)
    pad = modes.add_parser("pad")
    pad.add_argument("--input", required=True)
    pad.add_argument("--count", type=int, required=True)
    pad.add_argument("--seed", type=int, default=1)
    pad.add_argument("--output", required=True)
    args = parser.parse_args()
    if args.mode == "real":
        write_lines(args.output, real_masks(args.assets))
    else:
        with open(args.input, encoding="utf-8") as lines:
            masks = [line.rstrip("\n") for line in lines if line.strip()]
        write_lines(args.output, padded(masks, args.count, args.seed))


if __name__ == "__main__":
    main()
