#!/usr/bin/env bash
# What the program does with its command line before any document is read: help, version,
# and a refusal, never a window, for anything that is not a document.
set -u
korvesta=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
failures=0
: >existing.txt

# name | arguments, separated by ; | exit code | text expected in the output
cases=(
    "version|--version|0|korvesta (Тарвела) "
    "help|--help|0|Использование:"
    "short help|-h|0|korvesta new ФАЙЛ"
    "unknown command|frobnicate|2|Неизвестная команда: frobnicate"
    "unknown option|--frobnicate|2|Неизвестный параметр: --frobnicate"
    "missing non-document|notes.txt|2|Файл документа не найден: notes.txt"
    "stray words|a;b|2|Неизвестная команда: a"
    "stray path words|my dir/a;b|2|Файл документа не найден: my dir/a b"
    "help of a brief command|help;new|0|korvesta new ФАЙЛ [ПАРАМЕТРЫ]"
    "help option of a brief command|view;--help|0|korvesta view ФАЙЛ КОД"
    "help of a command with its own text|help;place|0|place"
    "help of an unknown command|help;frobnicate|2|Неизвестная команда: frobnicate"
    "help of help|help;help|0|korvesta help [КОМАНДА]"
    "help option twice|--help;--help|0|korvesta help [КОМАНДА]"
    "short version|-V|0|korvesta (Тарвела) "
    "single-dash option|-x|2|Неизвестный параметр: -x"
    "mistyped command before a document|chek;doc.kvt|2|Неизвестная команда: chek"
    "two documents|existing.txt;doc.kvt|2|Лишний аргумент: doc.kvt"
)
for c in "${cases[@]}"; do
    IFS='|' read -r name args code text <<<"$c"
    IFS=';' read -r -a argv <<<"$args"
    # A window would wait for its user: the time limit turns that into a failure.
    output=$(timeout 60 env -u DISPLAY QT_QPA_PLATFORM=offscreen "$korvesta" "${argv[@]}" 2>&1)
    got=$?
    if [ "$got" != "$code" ] || [[ $output != *"$text"* ]]; then
        printf 'FAIL %s: exit %s (expected %s)\n%s\n' "$name" "$got" "$code" "$output"
        failures=$((failures + 1))
    fi
done
[ ! -e --help ] || { echo "FAIL new --help wrote a file"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ]
