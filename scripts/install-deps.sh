#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev ccache clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  # qt6-base-dev brings Qt Print Support too (the report's PDF and printing)
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n qt6-serialport-dev
  libcli11-dev nlohmann-json3-dev
  libsndfile1-dev libsoxr-dev libespeak-ng-dev espeak-ng-data pkg-config
  # FTDI cables in synchronous bit-bang mode
  libftdi1-dev
  libgl-dev
  dpkg-dev file help2man librsvg2-bin desktop-file-utils appstream
  # the package check: Debian's own checks, and the project file types told by content
  lintian shared-mime-info libglib2.0-bin
  # korvex-cli's zsh completion is checked by zsh itself
  zsh
)
arch=$(dpkg --print-architecture)
installed() {
  # Multi-arch libraries answer only to their qualified name.
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" ||
    dpkg-query -W -f='${Status}' "$1:$arch" 2>/dev/null | grep -q "install ok installed"
}
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
