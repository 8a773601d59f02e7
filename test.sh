#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: in build/, then again with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (any report fails), then a short
# run of every fuzz target in build-fuzz/. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

ensure_packages "${LEAFWRIGHT_PACKAGES[@]}" "${LEAFWRIGHT_CHECK_PACKAGES[@]}"

echo "== Build and test"
build_leafwright
ctest --test-dir build -j2 --output-on-failure --timeout 600

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
if [ ! -f build-asan/CMakeCache.txt ]; then
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEAFWRIGHT_SANITIZE=ON \
        -DLEAFWRIGHT_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -j2 --output-on-failure --timeout 900

echo "== Fuzz every target briefly (scripts/fuzz.sh SECONDS runs longer)"
scripts/fuzz.sh 8
