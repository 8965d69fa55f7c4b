#!/usr/bin/env bash
# Installs what is missing, checks the layers and the format of the lines
# changed since the format's base, builds everything and runs every test:
# the full CTest suite, then all of it again under ASan and UBSan, the
# transfers' threading tests under TSan, then the fuzzers,
# then the Windows build under Wine (scripts/windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-layers.sh
bash scripts/check-format.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
QT_QPA_PLATFORM=offscreen ctest --test-dir build -j "$jobs" --output-on-failure | tee -a "$summary"
# The Debian package from the same build tree, unpacked and its programs started.
deb=$(bash scripts/package.sh)
bash scripts/check-package.sh "$deb"

# Every test program again under ASan, LSan and UBSan: the core, korvex-cli,
# the sound intake and the Qt side (windows closed under a transfer among them).
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure | tee -a "$summary"

# The tests where a transfer's worker thread meets the window, under TSan
# (the whole Qt suite runs under ASan above; under TSan it would take too long).
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_SANITIZE_THREAD=ON \
  -DKORVEX_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_ui test_sim
threading='*Background*:*KorvexClose*:*TamloClose*:MainFrameTest.Escape*:KorvexInput*:*UnsavedEdits*Transfer*'
threading+=':*FilePageTest*:*LogPage*:*Marker*'
# A filter that matches nothing would pass with nothing run: the count must not be 0.
some_ran() {
  local out status=0
  out=$("$@" 2>&1) || status=$?
  printf '%s\n' "$out" | grep -v 'does not support' | tail -4
  [ "$status" -eq 0 ] || return "$status"
  if printf '%s\n' "$out" | grep -q '^\[==========\] 0 tests'; then
    echo "test.sh: no test matched: $*" >&2
    return 1
  fi
}
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan.supp" QT_QPA_PLATFORM=offscreen \
  some_ran build-tsan/test_ui --gtest_filter="$threading" --gtest_brief=1
TSAN_OPTIONS="halt_on_error=1" some_ran build-tsan/test_sim --gtest_filter='*StoppedBus*:*BitBang*' --gtest_brief=1

if [ -f scripts/fuzz.sh ]; then
  bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
fi

# One closing line over both CTest runs (the fuzzers stop the script on a failure).
awk '/tests passed, [0-9]+ tests failed out of/ { total += $NF; failed += $(NF-5) }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$summary"

# The core and korvex-cli built for Windows and tested under Wine (its own
# closing line; a failure there fails the run).
bash scripts/windows.sh
