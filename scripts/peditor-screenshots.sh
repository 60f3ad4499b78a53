#!/bin/bash
# Pictures of the plug-in editor at 96 and 144 DPI, into
# docs/screenshots/peditor-SHOT-DPIdpi.png (SHOT: plugin, running, testrun, invalid, new).
# Each DPI has a Wine prefix of its own in the build folder, its LogPixels
# set to the DPI.
# usage: scripts/peditor-screenshots.sh MINGW_BUILD_DIR
# (the build needs -DCINDRAL_BENCH=ON; make peditor_pictures)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: peditor-screenshots.sh MINGW_BUILD_DIR}" && pwd)"
program="$build/bin/peditor_pictures.exe"
[ -f "$program" ] || { echo "missing $program"; exit 1; }
for dpi in 96 144; do
    export CINDRAL_WINEPREFIX="$build/wineprefix-$dpi"
    "$root/scripts/wine-run.sh" "$program" >/dev/null 2>&1 || true  # the prefix is made
    WINEPREFIX="$CINDRAL_WINEPREFIX" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX="$CINDRAL_WINEPREFIX" wineserver -w
    shots="$build/bin/peditor-shots-$dpi"
    rm -rf "$shots" && mkdir -p "$shots"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-run.sh" "$program" \
        'C:\peditor-shots\' "T:\\peditor-shots-$dpi\\"
    for bmp in "$shots"/*.bmp; do
        convert "$bmp" -strip "$root/docs/screenshots/peditor-$(basename "$bmp" .bmp)-${dpi}dpi.png"
    done
done
ls "$root"/docs/screenshots/peditor-*
