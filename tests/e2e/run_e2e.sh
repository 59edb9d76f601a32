#!/usr/bin/env bash
# Runs the end-to-end suite against build/plintor (or $PLINTOR_BINARY); exits with the suite's
# code. Screenshots go to $PLINTOR_E2E_ARTIFACTS (default: build/e2e-artifacts).
#
# As root the suite runs in a network namespace of its own with only a loopback device: the
# kiosk's single-instance channel is an abstract socket, which is per namespace, so a kiosk the
# user already runs neither blocks the tests nor receives their messages, and no test traffic
# can leave the machine. PLINTOR_E2E_SHARED_NET=1 runs it in the machine's namespace instead.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cd "$repo"

export PYTHONDONTWRITEBYTECODE=1 # keeps the source tree clean
export PLINTOR_E2E_ARTIFACTS="${PLINTOR_E2E_ARTIFACTS:-$repo/build/e2e-artifacts}"
mkdir -p "$PLINTOR_E2E_ARTIFACTS"
echo "e2e: program ${PLINTOR_BINARY:-$repo/build/plintor}, screenshots in $PLINTOR_E2E_ARTIFACTS"

suite=(python3 -m unittest discover -s "$here" -p 'test_*.py' -v)
if [ "${PLINTOR_E2E_SHARED_NET:-0}" != 1 ] && [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null \
  && command -v ip >/dev/null && unshare --net true 2>/dev/null; then
  echo "e2e: in a private network namespace"
  runner=(unshare --net sh -c 'ip link set lo up && exec "$@"' sh "${suite[@]}")
else
  runner=("${suite[@]}")
fi

# A TERM for this script (e.g. from CTest's time limit) reaches the suite, whose harness then
# ends what it started. --kill-after: KILL only if that clean-up hangs.
timeout --kill-after=30 900 "${runner[@]}" &
child=$!
trap 'kill -TERM "$child" 2>/dev/null' TERM INT HUP
while true; do
  wait "$child"
  code=$?
  kill -0 "$child" 2>/dev/null || break # still running: wait was cut short by a signal
done
[ "$code" -eq 124 ] && echo "e2e: the suite did not finish within 900 s" >&2
exit "$code"
