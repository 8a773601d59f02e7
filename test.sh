#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

ensure_packages "${LEAFWRIGHT_PACKAGES[@]}"
build_leafwright
ctest --test-dir build --output-on-failure --timeout 300
