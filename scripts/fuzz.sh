#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs each for the given
# number of seconds (default 12), keeping what they learn in build-fuzz/corpus/<target>.
# A longer run, for instance ten minutes each:   scripts/fuzz.sh 600
# Anything a target finds is saved as build-fuzz/crash-* (or leak-*, timeout-*) and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-12}"

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DLEAFWRIGHT_FUZZ=ON >/dev/null
fi
cmake --build build-fuzz

build-fuzz/fuzz/make_fuzz_inputs build-fuzz/inputs
for target in fuzz_loadbook fuzz_textimport fuzz_scan fuzz_cleaner fuzz_replace; do
    mkdir -p "build-fuzz/corpus/$target"
    echo "== $target, ${seconds}s"
    (cd build-fuzz && "fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        "corpus/$target" "inputs/$target" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY|property failed|INFO: Running)' || true)
    # libFuzzer's exit status is lost in the pipe above; a finding leaves a file behind.
    if compgen -G "build-fuzz/crash-*" >/dev/null || compgen -G "build-fuzz/leak-*" >/dev/null \
        || compgen -G "build-fuzz/timeout-*" >/dev/null; then
        echo "fuzz: $target found a failing input; see build-fuzz/" >&2
        exit 1
    fi
done
