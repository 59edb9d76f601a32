#!/usr/bin/env bash
# Runs end-to-end tests against build/plintor (or $PLINTOR_BINARY); exits with their code.
#
#   run_e2e.sh [FILES]
#
# FILES names the test files to run without .py, one (test_kiosk) or a pattern of them
# ('test_k*'); without it every test_*.py runs. Screenshots go to $PLINTOR_E2E_ARTIFACTS
# (default: build/e2e-artifacts).
#
# As root the tests run in a network namespace of their own with only a loopback device, and
# with X sockets of their own: the kiosk's single-instance channel is an abstract socket, which
# is per namespace, so a kiosk the user already runs neither blocks the tests nor receives their
# messages, and no test traffic can leave the machine. PLINTOR_E2E_SHARED_NET=1 runs them in
# the machine's namespaces instead.
#
# A run is stopped after $PLINTOR_E2E_TIME_LIMIT seconds (default 900). CTest gives each file
# a limit of its own this way, a minute below the test's TIMEOUT: this script's TERM lets the
# harness end what it started, where CTest at its TIMEOUT would only kill.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cd "$repo"

if [ "$#" -gt 1 ]; then
  echo "usage: $0 [test file without .py, or a pattern of them]" >&2
  exit 2
fi
pattern="${1:-test_*}"
pattern="${pattern%.py}.py"
if ! compgen -G "$here/$pattern" >/dev/null; then
  echo "e2e: no test file in $here matches $pattern" >&2 # unittest would report success for none
  exit 2
fi
limit="${PLINTOR_E2E_TIME_LIMIT:-900}"
if ! [[ "$limit" =~ ^[1-9][0-9]*$ ]]; then
  echo "e2e: PLINTOR_E2E_TIME_LIMIT must be a number of seconds, not '$limit'" >&2
  exit 2
fi

export PYTHONDONTWRITEBYTECODE=1 # keeps the source tree clean
export PLINTOR_E2E_ARTIFACTS="${PLINTOR_E2E_ARTIFACTS:-$repo/build/e2e-artifacts}"
mkdir -p "$PLINTOR_E2E_ARTIFACTS"
echo "e2e: $pattern, program ${PLINTOR_BINARY:-$repo/build/plintor}, screenshots in $PLINTOR_E2E_ARTIFACTS"

suite=(python3 -m unittest discover -s "$here" -p "$pattern" -v)
# The X sockets go with it: X clients find a display by its abstract socket (one per network
# namespace) or by its file in /tmp/.X11-unix, so with a private network alone a display number
# could be taken twice, and the engine's sandboxed processes would meet another run's display
# through the file.
if [ "${PLINTOR_E2E_SHARED_NET:-0}" != 1 ] && [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null \
  && command -v ip >/dev/null && unshare --net --mount true 2>/dev/null; then
  echo "e2e: in private network and mount namespaces"
  mkdir -p /tmp/.X11-unix
  runner=(unshare --net --mount sh -c \
    'ip link set lo up && mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix && exec "$@"' sh "${suite[@]}")
else
  runner=("${suite[@]}")
fi

# A TERM for this script (or Control+C) reaches the tests, whose harness then ends what it
# started; so does timeout's at the time limit. --kill-after: KILL only if that clean-up hangs.
timeout --kill-after=30 "$limit" "${runner[@]}" &
child=$!
trap 'kill -TERM "$child" 2>/dev/null' TERM INT HUP
while true; do
  wait "$child"
  code=$?
  kill -0 "$child" 2>/dev/null || break # still running: wait was cut short by a signal
done
[ "$code" -eq 124 ] && echo "e2e: $pattern did not finish within $limit s" >&2
exit "$code"
