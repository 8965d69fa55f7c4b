#!/usr/bin/env bash
# Builds the Debian package build/package/korvex_<version>-<revision>_amd64.deb from the
# build/ tree (configured and built here if needed; only the programs and their
# menu entries, icons and manual page, not the tests). Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target korvex tamlo korvex-cli korvex_packaging >&2
rm -f build/package/korvex_*.deb
(cd build && cpack -G DEB >&2)
ls build/package/korvex_*.deb
