#!/usr/bin/env bash
# Renders every page of korvex offscreen into docs/<page>-page.png, and the
# Zones, File and Messages pages of tamlo into docs/tamlo-*.png (the File page
# on a cable whose status is cached, with its advice).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target test_ui
mkdir -p docs
QT_QPA_PLATFORM=offscreen KORVEX_SCREENSHOT_DIR="$PWD/docs" \
  build/test_ui --gtest_filter='Screenshots.*:TamloCycle.*Screenshot:TamloTransfers.FilePageScreenshot'
ls -l docs/*-page.png docs/tamlo-*.png
