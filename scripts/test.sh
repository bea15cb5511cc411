#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test. Installs what the build needs first (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build-check -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVESTA_SANITIZE=ON \
      -DKORVESTA_BENCH=OFF
cmake --build build-check
# Qt keeps some allocations for the life of the process; leaks are not what these runs look for.
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
# Every test has a time limit: the scripts of the command line get the longest.
ctest --test-dir build-check --output-on-failure --timeout 1800 -j"$(nproc)"
