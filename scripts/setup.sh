#!/bin/bash
# Installs what building and testing Cindral needs on Debian 12, and nothing
# when it is all there already. Safe to run any number of times.
#
# usage: scripts/setup.sh native|all
#   native  the native build of the command-line front end (scripts/main-job.sh)
#   all     everything scripts/test-all.sh, scripts/dist.sh and the benchmarks in
#           bench/ use
set -euo pipefail

# What main-job.sh uses.
native=(g++ make cmake)
# What test-all.sh and the benchmark scripts use besides.
all=(
    libgtest-dev libgmock-dev googletest    # the tests; MinGW builds GoogleTest from its sources
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 wine32:i386                 # the Windows tests
    xvfb xauth                              # an X display for the GUI tests (xvfb-run)
    fp-utils                                # chmcmd builds help.chm
    clang-format                            # the format check
    clang libclang-rt-14-dev                # the fuzz targets (libFuzzer)
    python3 bc time                         # the benchmarks: test trees, ratios, peak memory
    zlib1g-dev                              # the icon tool's PNG (a host tool of the Windows builds)
    nsis dpkg-dev                           # the installer; the package's library dependencies
    icoutils unzip man-db x11-utils imagemagick  # the artifacts' checks (scripts/check-dist.sh)
)

case "${1:-}" in
    native) packages=("${native[@]}") ;;
    all) packages=("${native[@]}" "${all[@]}") ;;
    *)
        echo "usage: $0 native|all" >&2
        exit 2
        ;;
esac

installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = "installed" ]
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present ($1)"
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
    sudo=(sudo)
fi
# The 32-bit Wine is an i386 package.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q "${missing[@]}"
