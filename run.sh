#!/usr/bin/env bash
# Installs what is missing, builds, and starts Leafwright with the given arguments
# (for instance a book file to open).
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"

(
    cd "$root"
    source scripts/packages.sh
    ensure_packages "${LEAFWRIGHT_PACKAGES[@]}"
    build_leafwright
)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: there is no display to show Leafwright on; try 'xvfb-run -a ./run.sh [book.vlm]', or $root/build/leafwright-cli for batch work" >&2
    exit 1
fi
exec "$root/build/leafwright" "$@"
