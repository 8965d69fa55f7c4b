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

# An 8-bit mono WAV file behind the wav target's three leading bytes:
#   wav_seed RATE SAMPLES MODULE-BYTE(hex)
wav_seed() {
    local rate=$1 n=$2
    le() {  # a number as $2 little-endian bytes
        local i
        for ((i = 0; i < $2; i++)); do printf "\\$(printf '%03o' $(($1 >> (8 * i) & 255)))"; done
    }
    printf "\\$(printf '%03o' $((16#$3)))"; le 0 2
    printf 'RIFF'; le $((36 + n)) 4; printf 'WAVEfmt '; le 16 4
    le 1 2; le 1 2; le "$rate" 4; le "$rate" 4; le 1 2; le 8 2
    printf 'data'; le "$n" 4
    head -c "$n" /dev/urandom
}

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    options=()
    if [ "$target" = fuzz_wav_intake ]; then
        # Seeds: valid files at each accepted rate (a fuzzer alone never
        # finds an accepted rate). Byte 0 picks the module, 1..2 another
        # slot's length; then the WAV file.
        for rate in 22050 16000 11025; do
            for module in 00 01; do
                wav_seed "$rate" 400 "$module" >"$corpus/valid-$rate-$module"
            done
        done
    fi
    if [ "$target" = fuzz_settings_json ]; then
        printf '\000{"phones": ["+79161234567", "-"], "texts": ["Alarm", "Тревога"], "cyrillic": [false, true], "autodialCycles": 5}' \
            >"$corpus/site"
    fi
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
    # Executions and coverage (edges reached) for the record.
    grep -E '^stat::number_of_executed_units|^Done ' "$build/$target.log" || true
    grep -E '(DONE|INITED) +cov:' "$build/$target.log" | tail -n 1 || true
done
echo "fuzzing passed"
