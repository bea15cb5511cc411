#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVESTA_TESTS=OFF \
      -DKORVESTA_BENCH=ON > /dev/null
cmake --build build-bench
for b in build-bench/bench/bench_*; do
    [ -x "$b" ] && "$b" "$@"
done
