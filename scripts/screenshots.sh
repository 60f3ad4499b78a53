#!/bin/bash
# Pictures of a window at 96 and 144 DPI, into docs/screenshots/WINDOW-SHOT-DPIdpi.png:
#   erase-items  every page and inner page of the Erase Items dialog (erase_items_bench)
#   peditor      the plug-in editor: plugin, running, testrun, invalid, new (peditor_pictures)
# Each DPI has a Wine prefix of its own in the build folder, its LogPixels
# set to the DPI.
# usage: scripts/screenshots.sh erase-items|peditor MINGW_BUILD_DIR
# (the build needs -DCINDRAL_BENCH=ON; make erase_items_bench or peditor_pictures)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/wine-host.sh"
usage="usage: screenshots.sh erase-items|peditor MINGW_BUILD_DIR"
window="${1:?$usage}"
build="$(cd "${2:?$usage}" && pwd)"
case "$window" in
    erase-items) program=erase_items_bench.exe files='C:\cindral-shots\' pictures=(--pictures) ;;
    peditor) program=peditor_pictures.exe files='C:\peditor-shots\' pictures=() ;;
    *) echo "$usage" >&2; exit 2 ;;
esac
program="$build/bin/$program"
[ -f "$program" ] || { echo "missing $program"; exit 1; }
for dpi in 96 144; do
    export CINDRAL_WINEPREFIX="$build/wineprefix-$dpi"
    "$root/scripts/wine-run.sh" "$program" >/dev/null 2>&1 || true  # the prefix is made
    WINEPREFIX="$CINDRAL_WINEPREFIX" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX="$CINDRAL_WINEPREFIX" wineserver -w
    shots="$build/bin/$window-shots-$dpi"
    rm -rf "$shots" && mkdir -p "$shots"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/wine-run.sh" "$program" \
        "$files" "${pictures[@]}" "T:\\$window-shots-$dpi\\"
    for bmp in "$shots"/*.bmp; do
        convert "$bmp" -strip "$root/docs/screenshots/$window-$(basename "$bmp" .bmp)-${dpi}dpi.png"
    done
done
ls "$root"/docs/screenshots/"$window"-*
