#!/usr/bin/env bash
# Runs a test program of the GTK front end under a display of its own (Xvfb) with the document
# server on 127.0.0.1, and exits with the program's code:
#
#   run_with_display.sh PROGRAM [ARGUMENTS]
#
# As root it runs in a network namespace of its own with only a loopback device, so no test
# traffic can leave the machine. The program learns the server's address from
# PLINTOR_TEST_SERVER, the server's record file from PLINTOR_TEST_RECORD and the served PDF from
# PLINTOR_TEST_PDF.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ "$#" -lt 1 ]; then
  echo "usage: $0 PROGRAM [ARGUMENTS]" >&2
  exit 2
fi
if [ -z "${PLINTOR_TEST_NAMESPACE:-}" ] && [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null \
  && unshare --net true 2>/dev/null; then
  export PLINTOR_TEST_NAMESPACE=1
  exec unshare --net sh -c 'ip link set lo up && exec "$@"' sh "$0" "$@"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/plintor-gtk-test-XXXXXX")"
xvfb=""
server=""
cleanup() {
  for pid in $server $xvfb; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

mkfifo "$work/display" "$work/port"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
if ! read -r -t 20 number <"$work/display"; then
  echo "Xvfb did not start: $(tail -5 "$work/xvfb.log")" >&2
  exit 1
fi
python3 "$here/document_server.py" "$work/record.txt" "$work/report.pdf" >"$work/port" &
server=$!
if ! read -r -t 20 port <"$work/port"; then
  echo "the document server did not start" >&2
  exit 1
fi

DISPLAY=":$number" PLINTOR_TEST_SERVER="http://127.0.0.1:$port" \
  PLINTOR_TEST_RECORD="$work/record.txt" PLINTOR_TEST_PDF="$work/report.pdf" "$@"
