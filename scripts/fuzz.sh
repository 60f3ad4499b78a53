#!/bin/bash
# Builds the libFuzzer targets in fuzz/ with clang and runs each for a given
# time, one after another, starting from the seeds in fuzz/corpus/<target>/.
# New inputs found go to <build>/corpus/<target>/, crashes to
# <build>/crashes/<target>/; a crash fails the script.
#
# usage: scripts/fuzz.sh [SECONDS [TARGET...]]   (default: 60 s, every target)
#
# CINDRAL_BUILD_ROOT  where the build folder goes (default: <repo>/build)
# CINDRAL_JOBS        parallel compile jobs (default: 2)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${CINDRAL_BUILD_ROOT:-$root/build}/fuzz"
jobs="${CINDRAL_JOBS:-2}"
seconds="${1:-60}"
shift || true

mkdir -p "$(dirname "$dir")"
cmake -S "$root" -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCINDRAL_FUZZ=ON -DCINDRAL_TESTS=OFF \
    -DCINDRAL_WERROR="${CINDRAL_WERROR:-ON}" >"$dir.configure.log" 2>&1 ||
    { tail -n 40 "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1 ||
    { grep -E -A4 'error|warning:' "$dir.build.log" | head -n 80; exit 1; }

if [ $# -eq 0 ]; then
    set -- $(cd "$root/fuzz" && ls -- *_fuzzer.cpp | sed 's/\.cpp$//')
fi
failures=0
for target in "$@"; do
    corpus="$dir/corpus/$target" crashes="$dir/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    "$dir/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$corpus" "$root/fuzz/corpus/$target" \
        >"$dir/$target.log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/$target.log")
    if [ $rc -eq 0 ]; then
        echo "fuzz: $target: ${runs:-?} executions in $seconds s, no crash"
    else
        echo "fuzz: $target: FAILED (exit $rc), see $dir/$target.log and $crashes/"
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ]
