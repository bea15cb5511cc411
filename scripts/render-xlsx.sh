#!/usr/bin/env bash
# Renders exported spreadsheets as LibreOffice Calc prints them, to look at the pages:
#   scripts/render-xlsx.sh OUTDIR FILE.xlsx...
# writes OUTDIR/NAME.pdf and OUTDIR/NAME-N.png (one picture a page). Installs LibreOffice
# Calc and the PDF tools on Debian when they are missing; not part of the build or the tests.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "Использование: $0 ПАПКА ФАЙЛ.xlsx..." >&2
    exit 2
fi
out=$1
shift
mkdir -p "$out"

if ! command -v soffice >/dev/null || ! command -v pdftoppm >/dev/null; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends libreoffice-calc poppler-utils
fi

# A profile of its own, so that a running LibreOffice of the user's is left alone.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
for file in "$@"; do
    soffice -env:UserInstallation="file://$profile" --headless --calc \
        --convert-to pdf --outdir "$out" "$file" >/dev/null
    name=$(basename "${file%.*}")
    pdftoppm -png -r 70 "$out/$name.pdf" "$out/$name"
done
ls "$out"
