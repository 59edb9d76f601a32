#!/usr/bin/env bash
# Runs one Windows test program under Wine with a time limit, so that a hang fails the test
# instead of the whole run. Uses the caller's WINEPREFIX (scripts/test-windows.sh makes a fresh
# one per run); PLINTOR_WINE_TIMEOUT sets the limit in seconds.
set -euo pipefail
: "${WINEDEBUG:=-all}"
export WINEDEBUG
exec timeout --kill-after=10 "${PLINTOR_WINE_TIMEOUT:-180}" wine "$@"
