#!/usr/bin/env bash
# Sets up, builds and runs every test; exits non-zero when anything fails. Arguments go to
# CMake's configure step (see scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh "$@"
ctest --test-dir build --output-on-failure -j "$(nproc)"
