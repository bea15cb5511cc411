#!/usr/bin/env bash
# Builds the program (optimised) and starts it. Without arguments it opens the sample college
# (written once, in the middle of the current term, to the user's data folder: the file the
# window's "Файл → Открыть пример" opens), so that a first start shows a working planner. Arguments go to the program: `scripts/run.sh file.kvt` opens a
# document and `scripts/run.sh sql file.kvt "..."` runs a subcommand. Installs what the build
# needs first (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVESTA_TESTS=OFF \
      -DKORVESTA_BENCH=OFF > /dev/null
cmake --build build

if [ $# -eq 0 ]; then
    sample="${XDG_DATA_HOME:-$HOME/.local/share}/Korvesta/Пример колледжа.kvt"
    if [ ! -e "$sample" ]; then
        mkdir -p "$(dirname "$sample")"
        ./build/src/korvesta demo "$sample"
    fi
    set -- "$sample"
fi
exec ./build/src/korvesta "$@"
