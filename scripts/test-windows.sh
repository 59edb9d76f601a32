#!/usr/bin/env bash
# Cross-builds the portable core, the Windows layer, their tests and plintor-check.exe with
# mingw-w64, and runs the tests under Wine on a virtual display, in a fresh Wine prefix that is
# removed afterwards. Exits non-zero when anything fails. Arguments go to CMake's configure
# step; BUILD_DIR names the build folder (default build-win32).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD_DIR:-build-win32}

scripts/setup.sh scripts/packages-windows.txt

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DPLINTOR_PLATFORM=win32 -DPLINTOR_BUILD_UI=OFF -DPLINTOR_BUILD_BENCH=OFF "$@"
cmake --build "$build" -j 2

prefix=$(mktemp -d /tmp/plintor-wine-XXXXXX)
xvfb_pid=""
cleanup() {
  WINEPREFIX=$prefix timeout 30 wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

# A display of its own: the window tests end other programs' windows and send keys.
display=""
for number in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
    display=":$number"
    break
  fi
done
[ -n "$display" ] || { echo "test-windows: no free display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all DISPLAY=$display
# No Mono or Gecko installers: nothing here needs them, and they would be fetched.
export WINEDLLOVERRIDES="mscoree=;mshtml="
echo "test-windows: preparing the Wine prefix $prefix"
timeout 300 wineboot --init
# One server for all tests, so that each test program starts quickly.
timeout 30 wineserver --persistent=600 &
timeout 300 wineserver --wait || true

ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300
