#!/bin/bash
# Takes the screenshots of the Options dialog's six pages at 96 and 144 DPI
# under Wine and puts them into docs/screenshots/ as options-<page>-<dpi>dpi.png.
# Uses the 32-bit build (CINDRAL_BUILD, default build/i686) and a Wine prefix
# of its own, so the test prefix keeps its DPI. The test shows each page and
# waits until the picture of it has been taken.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CINDRAL_BUILD:-$root/build/i686}"
export CINDRAL_WINEPREFIX="$build/shots-prefix"

if [ "${1:-}" != "--inside" ]; then
    for dpi in 96 144; do
        xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$dpi"
    done
    ls "$root"/docs/screenshots/options-*.png
    exit 0
fi

# Inside the X server, at one DPI.
dpi=$2
bin="$build/bin"
rm -f "$bin"/options-*.ready
# The prefix is made by a first run; the DPI is read when a program starts.
"$root/scripts/wine-run.sh" "$bin/cindral_shell_tests.exe" --gtest_list_tests >/dev/null
WINEPREFIX="$CINDRAL_WINEPREFIX" wine reg add "HKCU\\Control Panel\\Desktop" \
    /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$root/scripts/wine-run.sh" "$bin/cindral_shell_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter="OptionsDialogTest.DISABLED_Screenshots" &
test_pid=$!
# The dialog's design size at this DPI, rounded as MulDiv rounds.
w=$(((482 * dpi + 48) / 96))
h=$(((383 * dpi + 48) / 96))
for page in general security schedule bosskey protecthome logrefresh; do
    ready="$bin/options-$page.ready"
    for _ in $(seq 300); do [ -f "$ready" ] && break; sleep 0.1; done
    [ -f "$ready" ] || { echo "the $page page did not show" >&2; break; }
    import -window root -crop "${w}x${h}+40+40" +repage \
        "$root/docs/screenshots/options-$page-${dpi}dpi.png"
    rm -f "$ready"
done
rc=0
wait "$test_pid" || rc=$?
WINEPREFIX="$CINDRAL_WINEPREFIX" wineserver -w
exit "$rc"
