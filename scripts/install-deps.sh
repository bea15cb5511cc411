#!/usr/bin/env bash
# Installs everything the build, the tests and the program need on Debian 12.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6svg6-dev
    libgl-dev libxkbcommon-dev
    libsqlite3-dev sqlite3
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libxlsxwriter-dev libzip-dev
    libical-dev libgecode-dev
    libpq-dev postgresql-15
    fonts-dejavu-core fonts-liberation2
    xvfb xauth
    shared-mime-info desktop-file-utils appstream
    bash-completion jq
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# The server engine's tests start clusters of their own: installing PostgreSQL must not create
# and start the system's main cluster.
if [ ! -e /etc/postgresql-common/createcluster.conf ]; then
    $sudo mkdir -p /etc/postgresql-common/createcluster.d
    echo 'create_main_cluster = false' | $sudo tee /etc/postgresql-common/createcluster.d/korvesta.conf >/dev/null
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
