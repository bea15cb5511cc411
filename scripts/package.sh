#!/usr/bin/env bash
# Builds the Debian package korvesta_VERSION_ARCH.deb in build-package/ (optimised, installed
# under /usr) and checks it with lintian when lintian is present. Installs what the build
# needs first (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
# Debian's hardening: fortified sources, the stack protector, full RELRO with BIND_NOW.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DKORVESTA_TESTS=OFF -DKORVESTA_BENCH=OFF -DCMAKE_CXX_FLAGS="$cflags" \
      -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" > /dev/null
cmake --build build-package
(cd build-package && cpack -G DEB > /dev/null)
deb=$(ls build-package/korvesta_*.deb)
echo "$deb"
if command -v lintian > /dev/null; then
    lintian --fail-on error "$deb"
fi
if command -v hardening-check > /dev/null; then
    dir=$(mktemp -d)
    dpkg-deb -x "$deb" "$dir"
    hardening-check --quiet "$dir/usr/bin/korvesta"
    rm -rf "$dir"
fi
