#!/usr/bin/env bash
# Sets up, builds and shows the bundled demo configuration as the kiosk would read it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

home=build/demo-home
rm -rf "$home"
mkdir -p "$home"
cp demo/config/* "$home/"

echo "== Effective settings of the demo configuration ($home) =="
build/plintor --home="$home" --check-config
echo
echo "== Decisions for a few addresses =="
build/plintor --home="$home" --check-url \
  http://127.0.0.1:8765/index.html \
  http://127.0.0.1:8765/library/catalogue.html \
  http://127.0.0.1:8765/private/staff.html \
  https://www.example.org/ \
  about:blank
