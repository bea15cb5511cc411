#!/usr/bin/env bash
# Builds the program (optimised) and starts it; arguments go to the program, so
# `scripts/run.sh file.kvt` opens a document and `scripts/run.sh sql file.kvt "..."` runs a
# subcommand. Installs what the build needs first (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVESTA_TESTS=OFF \
      -DKORVESTA_BENCH=OFF > /dev/null
cmake --build build
exec ./build/src/korvesta "$@"
