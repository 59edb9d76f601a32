#!/usr/bin/env bash
# Sets up, builds and runs every test; exits non-zero when anything fails. Arguments go to
# CMake's configure step (see scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh "$@"
# The URL matcher's tests against real block lists read them from the build folder.
scripts/blocklists/prepare.sh build/blocklists
ctest --test-dir build --output-on-failure -j "$(nproc)"
