#!/usr/bin/env bash
# Sets up, builds and runs every test; exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"
