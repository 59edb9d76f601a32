#!/bin/sh
# Times "plintor --check-url" on 10 000 addresses with a real deny list loaded: a home folder
# with Whitelist.txt "*" and Blacklist.txt made of build/blocklists/masks-real.txt (run
# prepare.sh first). Half the addresses are made from listed hosts, half are unlisted.
# Usage: scripts/blocklists/time_check_url.sh [PLINTOR_BINARY] [MASK_FILE]
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
binary=${1:-"$root/build/plintor"}
masks=${2:-"$root/build/blocklists/masks-real.txt"}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

: > "$home/plintor.ini"
echo "*" > "$home/Whitelist.txt"
cp "$masks" "$home/Blacklist.txt"
python3 - "$masks" > "$home/addresses.txt" <<'PY'
import random, sys
masks = [line.strip() for line in open(sys.argv[1], encoding="utf-8")]
rng = random.Random(3)
for _ in range(5000):
    mask = rng.choice(masks)
    address = (mask.replace("HTTP*://", "http://").replace("*://*.", "https://cdn.")
               .replace("*://", "https://").replace("[/:#]*", "/assets/app.js")
               .replace("[[]", "[").replace("*", ""))
    print(address.lower())
for i in range(5000):
    print(f"https://www.shop{rng.randrange(10**6)}.example.org/catalogue/item{i}/index.html?ref=1")
PY

echo "$(wc -l < "$home/Blacklist.txt") deny masks, $(wc -l < "$home/addresses.txt") addresses"
echo "load and one address:"
time "$binary" --home="$home" --check-url http://example.org/ > /dev/null
echo "load and every address:"
time "$binary" --home="$home" --check-url $(cat "$home/addresses.txt") > "$home/answers.txt"
echo "$(grep -c '^blocked' "$home/answers.txt") blocked, $(grep -c '^allowed' "$home/answers.txt") allowed"
