#!/usr/bin/env bash
# Configures and builds everything into build/ (the program is build/plintor). Arguments go to
# CMake's configure step, e.g. scripts/build.sh -DPLINTOR_WERROR=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build "$@"
cmake --build build -j "$(nproc)"
