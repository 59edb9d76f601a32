#!/bin/sh
# Builds the deny lists the URL benchmarks and tests read, from the block lists that Debian's
# webext-ublock-origin-chromium package ships (installed here when missing):
#   masks-real.txt       every real mask (about 375 000)
#   masks-10000.txt      the first 10 000 of them
#   masks-100000.txt     the first 100 000
#   masks-1000000.txt    all of them, padded with made-up host masks to 1 000 000
# A build reads them from blocklists/ in its own build folder, so an out-of-tree build names
# that one: scripts/blocklists/prepare.sh build-release/blocklists
# Usage: scripts/blocklists/prepare.sh [OUTPUT_DIR]   (default: build/blocklists, the folder
#        scripts/build.sh and scripts/test.sh use)
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-"$root/build/blocklists"}
package=webext-ublock-origin-chromium

if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "$package"
fi
easylist=$(dpkg -L "$package" | grep '/thirdparties/easylist/easylist\.txt$' | head -n 1)
if [ -z "$easylist" ]; then
    echo "prepare.sh: $package ships no easylist.txt" >&2
    exit 1
fi
assets=${easylist%/thirdparties/easylist/easylist.txt}

mkdir -p "$out"
python3 "$root/scripts/blocklists/build_masks.py" real --assets "$assets" --output "$out/masks-real.txt"
head -n 10000 "$out/masks-real.txt" > "$out/masks-10000.txt"
head -n 100000 "$out/masks-real.txt" > "$out/masks-100000.txt"
python3 "$root/scripts/blocklists/build_masks.py" pad --input "$out/masks-real.txt" \
    --count 1000000 --seed 1 --output "$out/masks-1000000.txt"
