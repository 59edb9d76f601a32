#!/usr/bin/env bash
# Sets up and builds Plintor, then runs the kiosk with the bundled demo configuration and the
# demo web site (served on 127.0.0.1:8765) and takes a screenshot of it.
#
# With a display (DISPLAY set) the kiosk stays open for you. Without one the script starts a
# virtual display (Xvfb), takes the screenshot, stops everything again and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

scripts/setup.sh
scripts/build.sh

port=8765
home=$repo/build/demo-home
log=$home/plintor.log
shot=$home/screenshot.png
home_page=http://127.0.0.1:$port/index.html

work=$(mktemp -d)
xvfb_pid="" server_pid="" kiosk_pid="" keep=0
cleanup() {
  local code=$?
  if [ "$keep" -eq 0 ]; then
    # The kiosk ignores SIGTERM; it and its browser helpers share one process group.
    [ -n "$kiosk_pid" ] && kill -KILL -- "-$kiosk_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill -- "-$server_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
  exit "$code"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

fail() {
  echo "run-demo: $*" >&2
  [ -f "$log" ] && { echo "--- last lines of $log:" >&2; tail -n 20 "$log" | tr -d '\r' >&2; }
  exit 1
}

for tool in python3 import; do
  command -v "$tool" >/dev/null || fail "$tool is needed for the demo (packages python3, imagemagick)"
done
[ -n "${DISPLAY:-}" ] || command -v Xvfb >/dev/null || fail "without a display the demo needs Xvfb (package xvfb)"

# A kiosk of this user that already runs would make the new one end at once.
if ! python3 -c 'import os, socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
try:
    s.bind("\0Plintor%d" % os.getuid())
except OSError:
    sys.exit(1)'; then
  fail "a Plintor kiosk already runs for this user; end it first (Control+Shift+F4, password, Exit, or build/plintor --send quit)"
fi
if python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null; then
  fail "port $port on 127.0.0.1 is taken; the demo site needs it"
fi

rm -rf "$home"
mkdir -p "$home"
cp demo/config/* "$home/"

# Own process groups, so that each can be ended as a whole.
setsid python3 -m http.server --bind 127.0.0.1 --directory demo/site "$port" >"$work/server.txt" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || fail "the demo web server did not start: $(cat "$work/server.txt")"
  sleep 0.2
done

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.txt" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.txt")"
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not report a display within 10 s"
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
  echo "run-demo: virtual display $DISPLAY"
fi

setsid build/plintor --home="$home" >"$home/output.txt" 2>&1 &
kiosk_pid=$!
echo "run-demo: kiosk started (process $kiosk_pid), waiting for the home page"
for _ in $(seq 120); do
  grep -qF "DocumentComplete: $home_page" "$log" 2>/dev/null && break
  kill -0 "$kiosk_pid" 2>/dev/null || fail "the kiosk ended before it showed the home page (see $home/output.txt)"
  sleep 0.5
done
grep -qF "DocumentComplete: $home_page" "$log" 2>/dev/null || fail "the home page did not finish loading within 60 s"
sleep 1 # the first paint follows the load
import -window root "$shot" || fail "could not take the screenshot"

echo "run-demo: log:        $log"
echo "run-demo: screenshot: $shot"

if [ "$headless" -eq 1 ]; then
  echo "run-demo: stopping the kiosk, the web server and the virtual display"
  exit 0
fi

# Left running for the user; the web server ends with the kiosk.
keep=1
setsid sh -c "while kill -0 $kiosk_pid 2>/dev/null; do sleep 2; done; kill -- -$server_pid" \
  >/dev/null 2>&1 </dev/null &
echo "run-demo: the kiosk stays open on $DISPLAY. To end it: Control+Shift+F4, password 7395, Exit;"
echo "          or run: build/plintor --send quit"
