#!/bin/bash
# Builds and runs every test of Cindral: natively, natively with
# AddressSanitizer and UndefinedBehaviorSanitizer, and the 32- and 64-bit
# Windows builds under Wine (the GUI tests under a virtual X server).
# Exits non-zero when any build or test fails.
#
# CINDRAL_BUILD_ROOT  where the build folders go (default: <repo>/build)
# CINDRAL_JOBS        parallel compile jobs (default: 2)
# CINDRAL_CONFIGS     configurations to run (default: "native asan i686 x86_64")
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_root="${CINDRAL_BUILD_ROOT:-$root/build}"
jobs="${CINDRAL_JOBS:-2}"
configs="${CINDRAL_CONFIGS:-native asan i686 x86_64}"
test_timeout="${CINDRAL_TEST_TIMEOUT:-1200}"
started=$SECONDS

bash "$root/scripts/setup.sh" || { echo "test-all: set-up failed" >&2; exit 1; }
mkdir -p "$build_root"

summary=()
failures=0
total_run=0
total_passed=0
total_failed=0
total_skipped=0

# The DLLs a Windows build may import: Windows' own, nothing else.
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|wininet|comctl32|comdlg32|msimg32|shlwapi|urlmon|msvcrt|ws2_32|version|winmm|uxtheme)\.dll$'

note_failure() {
    failures=$((failures + 1))
    summary+=("$(printf '%-22s FAILED: %s' "$1" "$2")")
}

configure_and_build() {
    local name=$1 dir=$2; shift 2
    echo "==== $name: configure and build in $dir"
    if ! cmake -S "$root" -B "$dir" "$@" >"$dir.configure.log" 2>&1; then
        tail -n 40 "$dir.configure.log"
        note_failure "$name" "configure (see $dir.configure.log)"
        return 1
    fi
    if ! make -C "$dir" -j"$jobs" --no-print-directory >"$dir.build.log" 2>&1; then
        grep -E 'error|Error|undefined reference|multiple definition' "$dir.build.log" | head -n 60
        note_failure "$name" "build (see $dir.build.log)"
        return 1
    fi
    local warnings
    warnings=$(grep -c 'warning:' "$dir.build.log" || true)
    if [ "$warnings" -gt 0 ]; then
        echo "---- $name: $warnings compiler warnings"
        grep 'warning:' "$dir.build.log" | sort -u | head -n 40
    fi
    return 0
}

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
    [ $bad -eq 0 ] || note_failure "$name" "an executable needs a DLL beyond Windows' own"
}

# run_tests NAME LOG COMMAND... : runs one GoogleTest executable, counts.
run_tests() {
    local name=$1 log=$2; shift 2
    echo "==== $name: ${*: -1}"
    local rc
    timeout "$test_timeout" "$@" --gtest_brief=1 --gtest_color=no 2>&1 | tr -d '\r' | tee "$log"
    rc=${PIPESTATUS[0]}
    local run passed failed skipped
    run=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" | tail -n 1)
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -n 1)
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}[.,].*/\1/p' "$log" | tail -n 1)
    run=${run:-0}; passed=${passed:-0}; skipped=${skipped:-0}
    # The brief printer lists each failed test but prints no failure count.
    failed=$((run - passed - skipped))
    total_run=$((total_run + run))
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    total_skipped=$((total_skipped + skipped))
    local line
    line=$(printf '%-22s %5d tests, %5d passed, %3d failed, %3d skipped' \
        "$name" "$run" "$passed" "$failed" "$skipped")
    if [ "$rc" -ne 0 ] || [ -z "$(grep -m1 '^\[  PASSED  \]' "$log")" ] || [ "$failed" -ne 0 ]; then
        [ "$rc" -eq 124 ] && line+=" (timed out)"
        [ "$rc" -ne 0 ] && line+=" (exit code $rc)"
        failures=$((failures + 1))
        summary+=("$line  <-- FAILED")
    else
        summary+=("$line")
    fi
}

for config in $configs; do
    config_started=$SECONDS
    case "$config" in
        native)
            dir="$build_root/native"
            configure_and_build native "$dir" -DCMAKE_BUILD_TYPE=Release &&
                run_tests native "$dir.tests.log" "$dir/bin/cindral_tests"
            ;;
        asan)
            dir="$build_root/asan"
            configure_and_build native-asan-ubsan "$dir" -DCMAKE_BUILD_TYPE=Debug \
                -DCINDRAL_SANITIZE=ON &&
                ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}" \
                UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
                run_tests native-asan-ubsan "$dir.tests.log" "$dir/bin/cindral_tests"
            ;;
        i686|x86_64)
            dir="$build_root/$config"
            if configure_and_build "$config" "$dir" -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$config-mingw.cmake"; then
                objdump_tool="$config-w64-mingw32-objdump"
                check_dlls "$config" "$dir" "$objdump_tool"
                run_tests "$config-wine" "$dir.tests.log" \
                    "$root/scripts/wine-run.sh" "$dir/bin/cindral_tests.exe"
                if [ -f "$dir/bin/cindral_shell_tests.exe" ]; then
                    # A Wine session started without a display would serve the
                    # GUI tests its display-less desktop: let it end first, and
                    # end the GUI session before its X server goes.
                    WINEPREFIX="$dir/wineprefix" timeout 60 wineserver -w || true
                    run_tests "$config-wine-gui" "$dir.shell-tests.log" \
                        xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
                        '"$@"; rc=$?; WINEPREFIX="$0" timeout 60 wineserver -w; exit $rc' \
                        "$dir/wineprefix" "$root/scripts/wine-run.sh" \
                        "$dir/bin/cindral_shell_tests.exe"
                fi
            fi
            ;;
        *)
            note_failure "$config" "unknown configuration"
            ;;
    esac
    echo "==== $config: $((SECONDS - config_started)) s"
done

echo
echo "==== Summary ($((SECONDS - started)) s)"
for line in "${summary[@]}"; do
    echo "$line"
done
if [ "$failures" -ne 0 ] || [ "$total_run" -eq 0 ]; then
    echo "[  FAILED  ] $failures configuration(s) failed; $total_failed of $total_run tests failed."
    exit 1
fi
echo "[  PASSED  ] $total_passed tests."
