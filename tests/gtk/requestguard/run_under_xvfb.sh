#!/bin/sh
# Runs a test program on a virtual display of its own; as root in a network namespace of its own
# with only a loopback device, as the end-to-end tests run, so that no request can leave.
set -eu
if [ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null; then
    exec unshare --net sh -c 'ip link set lo up && exec xvfb-run -a "$@"' sh "$@"
fi
exec xvfb-run -a "$@"
