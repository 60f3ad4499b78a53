#!/bin/bash
# Pictures of every page and inner page of the Erase Items dialog at 96 and
# 144 DPI, into docs/screenshots/erase-items-PAGE-DPIdpi.png. Each DPI has a
# Wine prefix of its own in the build folder.
# usage: scripts/erase-items-screenshots.sh MINGW_BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: erase-items-screenshots.sh MINGW_BUILD_DIR}" && pwd)"
tests="$build/bin/cindral_shell_tests.exe"
for dpi in 96 144; do
    export CINDRAL_WINEPREFIX="$build/wineprefix-$dpi"
    "$root/scripts/wine-run.sh" "$tests" --gtest_list_tests >/dev/null
    WINEPREFIX="$CINDRAL_WINEPREFIX" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX="$CINDRAL_WINEPREFIX" wineserver -w
    shots="$build/bin/shots-$dpi"
    rm -rf "$shots" && mkdir -p "$shots"
    CINDRAL_SHOTS="T:\\shots-$dpi\\" xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$root/scripts/wine-run.sh" "$tests" --gtest_also_run_disabled_tests \
        --gtest_filter='EraseItemsDialogTest.DISABLED_Screenshots' >/dev/null
    for bmp in "$shots"/*.bmp; do
        name=$(basename "$bmp" .bmp)
        convert "$bmp" -strip "$root/docs/screenshots/erase-items-$name-${dpi}dpi.png"
    done
done
ls "$root"/docs/screenshots/erase-items-*
