#!/usr/bin/env bash
# Configures and builds everything into build/ (the program is build/plintor).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build -j "$(nproc)"
