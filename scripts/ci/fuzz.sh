#!/usr/bin/env bash
# Builds the libFuzzer target with clang into build-fuzz and runs it for a bounded time from
# the seeds in tests/fuzz/corpus. A crash, a sanitizer finding or a disagreement between the
# compiled matcher and the plain walk fails the run; the input that did it is kept in
# build-fuzz/artifacts and shown.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-60}

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DPLINTOR_BUILD_UI=OFF \
  -DPLINTOR_BUILD_BENCH=OFF -DPLINTOR_WERROR=ON
cmake --build build-fuzz -j "$(nproc)" --target url_matcher_fuzz
fuzzer=build-fuzz/tests/fuzz/url_matcher_fuzz

# A fresh working corpus each run, so that a run depends only on the committed seeds and the
# fixed random seed, not on what earlier runs on this machine found.
rm -rf build-fuzz/corpus build-fuzz/artifacts
mkdir -p build-fuzz/corpus build-fuzz/artifacts

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
"$fuzzer" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ \
  build-fuzz/corpus tests/fuzz/corpus || status=$?
if [ "$status" -ne 0 ]; then
  for input in build-fuzz/artifacts/*; do
    [ -f "$input" ] || continue
    echo "fuzz: failing input $input (rerun: $fuzzer $input):"
    od -c "$input" | head -n 40
  done
  exit "$status"
fi
