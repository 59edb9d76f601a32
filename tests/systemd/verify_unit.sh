#!/usr/bin/env bash
# Checks the shipped systemd user unit with systemd's own parser:
#
#   verify_unit.sh UNIT PROGRAM
#
# systemd-analyze verify wants every program the unit runs to exist, so it checks a copy whose
# /usr/bin/plintor is PROGRAM (the built one). It only warns, and still exits with 0, about a
# key it does not know or a key in the wrong section: any word of it about the unit fails the
# test. Exits with 77 (skipped) when systemd-analyze is missing (package systemd).
set -uo pipefail

if [ "$#" -ne 2 ]; then
  echo "usage: $0 UNIT PROGRAM" >&2
  exit 2
fi
unit=$1 program=$(realpath "$2")
if ! command -v systemd-analyze >/dev/null; then
  echo "SKIP: systemd-analyze is missing (package systemd); $unit not checked"
  exit 77
fi
if ! grep -q '^ExecStart=/usr/bin/plintor ' "$unit"; then
  echo "FAIL: $unit does not start the installed /usr/bin/plintor" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=$(basename "$unit")
sed "s|/usr/bin/plintor|$program|g" "$unit" >"$work/$name"
# A user manager of its own for the check: the one of the calling user, if any, stays untouched.
mkdir -m 700 "$work/runtime"
output=$(XDG_RUNTIME_DIR="$work/runtime" HOME="$work" timeout 30 \
  systemd-analyze --user --man=no verify "$work/$name" 2>&1)
code=$?
about_unit=$(grep -F -e "$work/$name" -e "$name:" <<<"$output")
if [ "$code" -ne 0 ] || [ -n "$about_unit" ]; then
  echo "FAIL: systemd-analyze verify (exit $code) says:" >&2
  echo "$output" >&2
  exit 1
fi
echo "OK: $unit"
