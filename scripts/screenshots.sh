#!/usr/bin/env bash
# Renders every page of korvex offscreen into docs/<page>-page.png, the
# Zones, File and Messages pages of tamlo into docs/tamlo-*.png (the File page
# on a cable whose status is cached, with its advice) and the first page of
# the demo module's report into docs/demo-report.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target test_ui
mkdir -p docs
QT_QPA_PLATFORM=offscreen KORVEX_SCREENSHOT_DIR="$PWD/docs" \
  build/test_ui --gtest_filter='Screenshots.*:TamloCycle.*Screenshot:TamloTransfers.FilePageScreenshot'
# The demo module's report: its first PDF page as a picture (poppler-utils).
if command -v pdftoppm >/dev/null; then
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile docs/demo-report.pdf docs/demo-report
else
  echo "pdftoppm (poppler-utils) is missing: docs/demo-report.png not rendered" >&2
fi
rm -f docs/demo-report.pdf
ls -l docs/*-page.png docs/tamlo-*.png docs/demo-report.png
