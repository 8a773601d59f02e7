#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs each for the given
# number of seconds (default 12), keeping what they learn in build-fuzz/corpus/<target>.
# A longer run, for instance ten minutes each:   scripts/fuzz.sh 600
# A target that fails (a broken property, a crash, a leak, running out of memory or time) saves
# the input in build-fuzz/ and fails the run; the full output is in build-fuzz/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-12}"

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DLEAFWRIGHT_FUZZ=ON >/dev/null
fi
cmake --build build-fuzz

rm -rf build-fuzz/inputs
build-fuzz/fuzz/make_fuzz_inputs build-fuzz/inputs
failed=0
for target in fuzz_loadbook fuzz_textimport fuzz_scan fuzz_headings fuzz_cleaner fuzz_replace \
    fuzz_rows fuzz_epub fuzz_htmltext fuzz_formats fuzz_pdf; do
    mkdir -p "build-fuzz/corpus/$target"
    status=0
    (cd build-fuzz && "fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -print_final_stats=1 "corpus/$target" "inputs/$target" >"$target.log" 2>&1) || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/$target.log")
    if [ "$status" -eq 0 ]; then
        echo "$target: ${runs:-?} runs in ${seconds}s, nothing found"
    else
        echo "$target: FAILED (exit $status); see build-fuzz/$target.log" >&2
        grep -E 'property failed|ERROR|SUMMARY' "build-fuzz/$target.log" | head -5 >&2 || true
        failed=1
    fi
done
exit "$failed"
