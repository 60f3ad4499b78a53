#!/bin/bash
# Builds every artifact of a release into dist/:
#   cindral-VERSION-setup.exe      the Windows installer (32-bit build)
#   cindral-VERSION-portable.zip   the same files, to run from any folder
#   cindral-cli_VERSION_ARCH.deb   the command-line front end for Debian
# The Windows files come from the i686 build folder and the package from the
# native one, the folders scripts/test-all.sh builds: when they exist only
# what is missing is built; otherwise they are made, without the tests.
#
# CINDRAL_BUILD_ROOT  where the build folders are (default: <repo>/build)
# CINDRAL_DIST        where the artifacts go (default: <repo>/dist)
# CINDRAL_JOBS        parallel compile jobs (default: 2)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_root="${CINDRAL_BUILD_ROOT:-$root/build}"
dist="${CINDRAL_DIST:-$root/dist}"
jobs="${CINDRAL_JOBS:-2}"

bash "$root/scripts/setup.sh" all

# prepare DIR CMAKE-ARGS...: configures DIR unless it already is.
prepare() {
    local dir=$1; shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCINDRAL_TESTS=OFF "$@" >/dev/null
    fi
}

prepare "$build_root/native"
prepare "$build_root/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake"
rm -rf "$build_root/native/dist" "$build_root/i686/dist"
cmake --build "$build_root/native" -j "$jobs" --target cindral_deb
cmake --build "$build_root/i686" -j "$jobs" --target cindral_installer cindral_zip

mkdir -p "$dist"
rm -f "$dist"/cindral-*
cp "$build_root"/native/dist/cindral-cli_*.deb "$build_root"/i686/dist/cindral-* "$dist/"
echo "dist: $(cd "$dist" && ls cindral-* | tr '\n' ' ')"
