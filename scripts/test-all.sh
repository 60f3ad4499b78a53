#!/bin/bash
# Builds and runs every test of Cindral: natively, natively with
# AddressSanitizer and UndefinedBehaviorSanitizer, and the 32- and 64-bit
# Windows builds under Wine (ctest starts them through scripts/wine-run.sh;
# the whole ctest of a Windows build runs under one virtual X server for the
# GUI tests); builds the fuzz targets with clang and runs each for
# CINDRAL_FUZZ_SECONDS; then builds the release artifacts into dist/ from the native
# and i686 build folders (scripts/dist.sh) and checks them as their users
# meet them (scripts/check-dist.sh). On a host that runs 64-bit programs
# only, the 32-bit build is built but its tests do not run, nor do the
# checks that start the (32-bit) installer and programs. Compiler warnings fail the build; the
# sources must be formatted with the checked-in .clang-format, and every
# #include must keep the layer order (scripts/check-layers.sh). Exits
# non-zero when anything fails.
#
# CINDRAL_BUILD_ROOT  where the build folders go (default: <repo>/build)
# CINDRAL_JOBS        parallel compile jobs and tests (default: 2)
# CINDRAL_CONFIGS     configurations to run (default: "native asan i686 x86_64 fuzz dist")
# CINDRAL_FUZZ_SECONDS  how long each fuzz target runs (default: 5)
# CINDRAL_WERROR      ON or OFF: warnings fail the build (default: ON)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_root="${CINDRAL_BUILD_ROOT:-$root/build}"
jobs="${CINDRAL_JOBS:-2}"
configs="${CINDRAL_CONFIGS:-native asan i686 x86_64 fuzz dist}"
werror="${CINDRAL_WERROR:-ON}"
started=$SECONDS

bash "$root/scripts/setup.sh" all || { echo "test-all: set-up failed" >&2; exit 1; }
. "$root/scripts/wine-host.sh"
mkdir -p "$build_root"

summary=()
failures=0

# The DLLs a Windows build may import: Windows' own, nothing else.
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|wininet|comctl32|comdlg32|msimg32|shlwapi|urlmon|msvcrt|ws2_32|version|winmm|uxtheme)\.dll$'

note() {
    summary+=("$(printf '%-8s %s' "$1" "$2")")
}
fail() {
    failures=$((failures + 1))
    note "$1" "FAILED: $2"
}

check_format() {
    echo "==== format: clang-format --dry-run --Werror over src, tests, bench and tools"
    local files
    mapfile -t files < <(cd "$root" && find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | sort)
    if (cd "$root" && clang-format --dry-run --Werror "${files[@]}"); then
        note format "${#files[@]} files formatted"
    else
        fail format "run clang-format -i on the files above"
    fi
}

check_layers() {
    echo "==== layers: scripts/check-layers.sh"
    if bash "$root/scripts/check-layers.sh"; then
        note layers "every #include keeps the layer order"
    else
        fail layers "the #includes above break the layer order (docs/architecture.md)"
    fi
}

# build NAME DIR CMAKE-ARGS...: configures and builds; the logs go beside DIR.
build() {
    local name=$1 dir=$2; shift 2
    echo "==== $name: configure and build in $dir"
    if ! cmake -S "$root" -B "$dir" -DCINDRAL_TESTS=ON -DCINDRAL_WERROR="$werror" "$@" \
        >"$dir.configure.log" 2>&1; then
        tail -n 40 "$dir.configure.log"
        fail "$name" "configure (see $dir.configure.log)"
        return 1
    fi
    if ! cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1; then
        grep -E -A4 'error|warning:' "$dir.build.log" | head -n 80
        fail "$name" "build (see $dir.build.log)"
        return 1
    fi
}

# check_dlls NAME DIR OBJDUMP: every executable imports only Windows' own DLLs.
check_dlls() {
    local name=$1 dir=$2 objdump=$3 bad=0 exe dll
    for exe in "$dir"/bin/*.exe; do
        [ -f "$exe" ] || continue
        while read -r dll; do
            if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed_dlls"; then
                echo "---- $name: $(basename "$exe") needs $dll"
                bad=1
            fi
        done < <("$objdump" -p "$exe" | sed -n 's/.*DLL Name: //p')
    done
    [ $bad -eq 0 ] || fail "$name" "an executable needs a DLL beyond Windows' own"
}

# run_ctest NAME DIR [WRAPPER...]: every test of the build, ctest's summary
# line into the summary.
run_ctest() {
    local name=$1 dir=$2 rc; shift 2
    echo "==== $name: ctest"
    rm -f "$dir/wine-loader-crashes.log"
    "$@" ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$jobs" 2>&1 |
        tee "$dir.ctest.log"
    rc=${PIPESTATUS[0]}
    local line skipped
    line=$(grep -m1 'tests passed, ' "$dir.ctest.log")
    skipped=$(grep -c '(Skipped)$' "$dir.ctest.log")
    [ "$skipped" -eq 0 ] || line+=", $skipped skipped"
    # Runs that Wine's loader crashed under and scripts/wine-run.sh made again.
    if [ -s "$dir/wine-loader-crashes.log" ]; then
        line+=", $(wc -l <"$dir/wine-loader-crashes.log") run(s) repeated after a Wine loader crash"
    fi
    if [ "$rc" -ne 0 ]; then
        fail "$name" "${line:-ctest exit code $rc} (see $dir.ctest.log)"
    else
        note "$name" "$line"
    fi
}

# Runs a command under a virtual X server. Wine keeps its server a few
# seconds past the last program; it must end before its X server does.
with_display() {
    local prefix=$1; shift
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
        '"$@"; rc=$?; WINEPREFIX="$0" timeout 60 wineserver -w; exit $rc' "$prefix" "$@"
}

# The artifacts, built into dist/ and checked; check-dist.sh's closing line
# ("dist: N passed, N failed") into the summary.
check_dist() {
    local log="$build_root/dist.log" line
    echo "==== dist: scripts/dist.sh and scripts/check-dist.sh"
    if ! CINDRAL_BUILD_ROOT="$build_root" CINDRAL_JOBS="$jobs" bash "$root/scripts/dist.sh" \
        >"$log" 2>&1; then
        tail -n 40 "$log"
        fail dist "building the artifacts (see $log)"
        return
    fi
    tail -n 1 "$log"
    CINDRAL_BUILD_ROOT="$build_root" bash "$root/scripts/check-dist.sh" 2>&1 |
        tee "$build_root/dist-check.log"
    local rc=${PIPESTATUS[0]}
    line=$(grep -m1 '^dist: .* passed' "$build_root/dist-check.log")
    line=${line#dist: }
    if [ "$rc" -ne 0 ]; then
        fail dist "${line:-check-dist exit code $rc} (see $build_root/dist-check.log)"
    else
        note dist "$line"
    fi
}

check_format
check_layers
for config in $configs; do
    config_started=$SECONDS
    dir="$build_root/$config"
    case "$config" in
        native)
            build native "$dir" -DCMAKE_BUILD_TYPE=Release -DCINDRAL_BENCH=ON &&
                run_ctest native "$dir"
            ;;
        asan)
            build asan "$dir" -DCMAKE_BUILD_TYPE=Debug -DCINDRAL_SANITIZE=ON &&
                ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}" \
                UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
                run_ctest asan "$dir"
            ;;
        i686|x86_64)
            build "$config" "$dir" -DCMAKE_BUILD_TYPE=Release -DCINDRAL_BENCH=ON \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$config-mingw.cmake" &&
                { check_dlls "$config" "$dir" "$config-w64-mingw32-objdump"
                  if [ "$config" = i686 ] && ! wine_runs_32bit; then
                      note i686 "built; tests not run: this host runs 64-bit programs only"
                  else
                      run_ctest "$config" "$dir" with_display "$dir/wineprefix"
                  fi; }
            ;;
        dist)
            check_dist
            ;;
        fuzz)
            echo "==== fuzz: build every target, run each ${CINDRAL_FUZZ_SECONDS:-5} s"
            if CINDRAL_BUILD_ROOT="$build_root" CINDRAL_JOBS="$jobs" CINDRAL_WERROR="$werror" \
                bash "$root/scripts/fuzz.sh" "${CINDRAL_FUZZ_SECONDS:-5}" | tee "$dir.run.log"; then
                note fuzz "$(grep -c 'no crash$' "$dir.run.log") targets built and run, no crash"
            else
                fail fuzz "a target failed to build or crashed (see $dir.run.log)"
            fi
            ;;
        *)
            fail "$config" "unknown configuration"
            ;;
    esac
    echo "==== $config: $((SECONDS - config_started)) s"
done

echo
echo "==== Summary ($((SECONDS - started)) s)"
printf '%s\n' "${summary[@]}"
if [ "$failures" -ne 0 ]; then
    echo "test-all: $failures step(s) failed"
    exit 1
fi
echo "test-all: everything passed"
