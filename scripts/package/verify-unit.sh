#!/usr/bin/env bash
# systemd-analyze --user verify on the installed unit. It reads the unit as a user manager
# would, which wants a runtime folder of the user; a private one serves. Any complaint fails.
set -euo pipefail
unit=$1
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
output=$(XDG_RUNTIME_DIR=$runtime timeout 60 systemd-analyze --user verify "$unit" 2>&1) || {
  echo "$output" >&2
  exit 1
}
if [ -n "$output" ]; then
  echo "$output" >&2
  exit 1
fi
echo "verify-unit: $unit: no complaints"
