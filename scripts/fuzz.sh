#!/usr/bin/env bash
# Fuzzes the SQL dialect (lexer, parser, translator, and SQLite preparing what it wrote), or
# the readers of imported tables (books and CSV texts), with clang's libFuzzer on one core.
# Not part of CI: CI replays tests/fuzz/corpus and tests/fuzz/sheets on every run.
#
#   scripts/fuzz.sh [SECONDS]            the dialect, default 1800 seconds
#   scripts/fuzz.sh sheets [SECONDS]     the readers of imported tables
#
# New inputs go to build-fuzz/corpus (or build-fuzz/sheets), faults to build-fuzz/artifacts.
# Copy a fault's input into the corpus in tests/fuzz once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
target=dialect
if [ "${1:-}" = sheets ]; then
    target=sheets
    shift
fi
seconds="${1:-1800}"

./scripts/install-deps.sh
if ! command -v clang++-14 >/dev/null || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    apt-get update
    apt-get install -y --no-install-recommends clang-14 libclang-rt-14-dev
fi

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
      -DKORVESTA_SANITIZE=ON -DKORVESTA_FUZZ=ON -DKORVESTA_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" "${launcher[@]}"
cmake --build build-fuzz -j"$(nproc)" -t fuzz_dialect -t fuzz_sheet -t fuzz_replay

mkdir -p build-fuzz/corpus build-fuzz/sheets build-fuzz/artifacts
cp -n tests/fuzz/corpus/* build-fuzz/corpus/
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
if [ "$target" = sheets ]; then
    cp -n tests/fuzz/sheets/* build-fuzz/sheets/
    cd build-fuzz
    exec nice -n 5 ./tests/fuzz_sheet sheets -jobs=1 -workers=1 -max_total_time="$seconds" \
        -max_len=65536 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix=artifacts/
fi
# The saved queries of a new document seed the run beside the corpus.
./build-fuzz/tests/fuzz_replay --seeds build-fuzz/corpus
cd build-fuzz
exec nice -n 5 ./tests/fuzz_dialect corpus -jobs=1 -workers=1 -max_total_time="$seconds" \
    -max_len=4096 -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
    -dict=../tests/fuzz/dialect.dict -artifact_prefix=artifacts/
