# Shared by run.sh and test.sh: the Debian packages the build needs, and installing the missing.

# What building and testing Leafwright needs on a fresh Debian machine.
LEAFWRIGHT_PACKAGES=(
    cmake ninja-build g++
    qt6-base-dev fonts-liberation fonts-dejavu-core
    libquazip1-qt6-dev libxml2-dev
    libgtest-dev libbenchmark-dev
    libicu-dev libmobi-dev libmd4c-dev libmd4c-html0-dev libpoppler-qt6-dev zlib1g-dev pkgconf
)

# What test.sh needs besides: clang and its libFuzzer for the fuzz targets, util-linux's prlimit
# for the file-size fault, Python for the corpus's heading scorer, and the tools that make and
# check the Debian package.
LEAFWRIGHT_CHECK_PACKAGES=(
    clang libclang-rt-14-dev util-linux epubcheck python3
    dpkg-dev lintian appstream desktop-file-utils bash-completion
)

# Installs those of the named packages that are missing: as root, or through sudo otherwise.
# The package lists are refreshed only when something must be installed.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        as_root=(sudo)
    fi
    echo "Installing ${missing[*]}..."
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds the project in build/.
build_leafwright() {
    if [ ! -f build/CMakeCache.txt ]; then
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build build
}
