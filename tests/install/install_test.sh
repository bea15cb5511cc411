#!/usr/bin/env bash
# Installs the built program into a fresh prefix whose path holds a space and checks that
# everything a desktop and a packager need is there, valid, and agrees with the program.
set -u
build=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
prefix="$dir/учебный prefix"
failures=0

fail() { printf 'FAIL %s\n' "$1"; failures=$((failures + 1)); }
check() { # name expected actual
    [ "$2" = "$3" ] || { fail "$1"; printf 'expected: %s\nactual:   %s\n' "$2" "$3"; }
}

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL install"; exit 1; }

share="$prefix/share"
for f in bin/korvesta \
    share/applications/korvesta.desktop \
    share/mime/packages/korvesta.xml \
    share/metainfo/org.korvesta.Korvesta.metainfo.xml \
    share/man/man1/korvesta.1.gz \
    share/bash-completion/completions/korvesta \
    share/korvesta/help/index.html \
    share/korvesta/help/images/timetable.png \
    share/doc/korvesta/copyright \
    share/icons/hicolor/scalable/apps/korvesta.svg \
    share/icons/hicolor/scalable/mimetypes/application-x-korvesta.svg; do
    [ -s "$prefix/$f" ] || fail "installed: $f"
done
for size in 16 22 24 32 48 64 128 256; do
    for f in apps/korvesta.png mimetypes/application-x-korvesta.png; do
        png="$share/icons/hicolor/${size}x${size}/$f"
        # Width and height of a PNG are the big-endian words at bytes 16 and 20.
        check "$size px $f" "$size $size" "$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null |
            awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')"
    done
done
[ -x "$prefix/bin/korvesta" ] || fail "the program is executable"

# Nothing the installed program needs may point back into the build or source tree.
if grep -rlF "$build" "$share" >/dev/null; then fail "no path of the build tree installed"; fi

desktop="$share/applications/korvesta.desktop"
check "desktop Exec takes one file" "korvesta %f" "$(sed -n 's/^Exec=//p' "$desktop")"
check "desktop MIME type" "application/x-korvesta;" "$(sed -n 's/^MimeType=//p' "$desktop")"
check "desktop icon" "korvesta" "$(sed -n 's/^Icon=//p' "$desktop")"
grep -q '^Name=Тарвела$' "$desktop" || fail "desktop name in Russian"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" | grep -v ': hint:' | grep . && fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/org.korvesta.Korvesta.metainfo.xml" \
        >"$dir/appstream.log" 2>&1 || { cat "$dir/appstream.log"; fail "appstreamcli validate"; }
fi
if command -v man >/dev/null; then
    text=$(MANWIDTH=100 man -l "$share/man/man1/korvesta.1.gz" 2>"$dir/man.log")
    [ -s "$dir/man.log" ] && { cat "$dir/man.log"; fail "man page renders without warnings"; }
fi

# Every subcommand the program knows is in the manual page and in the completion.
export ASAN_OPTIONS=detect_leaks=0
commands=$("$prefix/bin/korvesta" help | sed -n 's/^  korvesta \([a-z]\+\) .*/\1/p' | sort -u)
[ -n "$commands" ] || fail "korvesta help lists subcommands"
for c in $commands; do
    grep -qE "^\.SS \"korvesta $c[ \"]" <(zcat "$share/man/man1/korvesta.1.gz") ||
        fail "man page describes $c"
    grep -qw "$c" "$share/bash-completion/completions/korvesta" || fail "completion offers $c"
done
if [ -f /usr/share/bash-completion/bash_completion ]; then
    got=$(bash -c 'source /usr/share/bash-completion/bash_completion
        source "$1"; COMP_WORDS=(korvesta ex); COMP_CWORD=1; COMP_LINE="korvesta ex"
        COMP_POINT=${#COMP_LINE}; _korvesta korvesta ex korvesta; echo "${COMPREPLY[*]}"' \
        _ "$share/bash-completion/completions/korvesta")
    check "completion of a subcommand" "export" "$got"
fi

# A document the program writes is recognised by the installed type, by name and, renamed,
# by content alone.
"$prefix/bin/korvesta" new "$dir/план.kvt" || fail "installed program writes a document"
cp "$dir/план.kvt" "$dir/renamed.dat"
if command -v update-mime-database >/dev/null; then
    update-mime-database "$share/mime" 2>/dev/null
fi
# As a file manager sees them (GIO reads the shared database the desktop uses).
if command -v gio >/dev/null; then
    got=$(XDG_DATA_HOME="$dir/none" XDG_DATA_DIRS="$share:/usr/share" \
        gio info -a standard::content-type "$dir/план.kvt" "$dir/renamed.dat" |
        sed -n 's/^ *standard::content-type: //p' | tr '\n' ' ')
    check "type of a document, by name and by content" \
        "application/x-korvesta application/x-korvesta " "$got"
fi

[ "$failures" -eq 0 ]
