#!/usr/bin/env bash
# Builds the Debian package korvesta_VERSION_ARCH.deb in build-package/ (optimised, installed
# under /usr) and checks it with lintian when lintian is present. Installs what the build
# needs first (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DKORVESTA_TESTS=OFF -DKORVESTA_BENCH=OFF > /dev/null
cmake --build build-package
(cd build-package && cpack -G DEB > /dev/null)
deb=$(ls build-package/korvesta_*.deb)
echo "$deb"
if command -v lintian > /dev/null; then
    lintian --fail-on error "$deb"
fi
