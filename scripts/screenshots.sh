#!/usr/bin/env bash
# Renders every page of korvex offscreen into docs/<page>-page.png, and the
# Zones and File pages of tamlo into docs/tamlo-zones.png and docs/tamlo-file.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target test_ui
mkdir -p docs
QT_QPA_PLATFORM=offscreen KORVEX_SCREENSHOT_DIR="$PWD/docs" \
  build/test_ui --gtest_filter='Screenshots.*:TamloCycle.ZonesPageScreenshot:TamloTransfers.FilePageScreenshot'
ls -l docs/*-page.png docs/tamlo-zones.png docs/tamlo-file.png
