#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang, ASan and UBSan, and runs
# each for the given number of seconds (default 30). Fails on the first crash
# or sanitizer report; the input that caused it is kept in build-fuzz/artifacts.
#   scripts/fuzz.sh [seconds]
set -euo pipefail

seconds="${1:-30}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER="${CXX:-clang++}" \
    -DKORVEX_SANITIZE=ON -DKORVEX_BUILD_FUZZ=ON \
    -DKORVEX_BUILD_UI=OFF -DKORVEX_BUILD_CLI=OFF -DKORVEX_BUILD_BENCH=OFF >/dev/null

targets=()
for src in "$root"/fuzz/*.cpp; do
    targets+=("$(basename "$src" .cpp)")
done
cmake --build "$build" -j2 --target "${targets[@]}"

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    options=()
    if [ "$target" = fuzz_project_image ]; then
        options+=(-max_len=1200)  # a little more than the largest image
        # Seeds: an empty file, an erased module and an all-zero image of each size.
        : >"$corpus/empty"
        head -c 1120 /dev/zero >"$corpus/zeros-1120"
        head -c 1120 /dev/zero | tr '\0' '\377' >"$corpus/erased-1120"
        head -c 768 /dev/zero | tr '\0' '\377' >"$corpus/erased-768"
    fi
    echo "== $target: ${seconds}s (log: $build/$target.log)"
    # The fuzzer's running commentary goes to its log; its verdict is shown.
    if ! "$build/$target" "$corpus" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 "${options[@]}" \
        >"$build/$target.log" 2>&1; then
        tail -n 60 "$build/$target.log"
        echo "$target failed; the input is in $build/artifacts/"
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^Done ' "$build/$target.log" || true
done
echo "fuzzing passed"
