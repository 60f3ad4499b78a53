#!/bin/sh
# The Erase Items dialog under Wine: opening it, and switching to the
# Registry and the Folder page, with 255 plug-ins and 5,000 records in each
# custom list, against the same dialog over an empty home (the reference).
#   each of the three with the full home   target <= 300 ms
# usage: bench/run_erase_items_bench.sh MINGW_BUILD_DIR
# (the build needs -DCINDRAL_BENCH=ON; make erase_items_bench)
set -eu
BUILD=$(cd "${1:?usage: run_erase_items_bench.sh MINGW_BUILD_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
[ -f "$BUILD/bin/erase_items_bench.exe" ] || { echo "missing erase_items_bench.exe"; exit 1; }
xvfb-run -a -s "-screen 0 1024x768x24" "$HERE/../scripts/wine-run.sh" \
    "$BUILD/bin/erase_items_bench.exe" 'C:\cindral-bench\erase\' | tr -d '\r' |
    awk '{ print } $1 == "full" { for (i = 3; i <= 7; i += 2) if ($i > 300) slow = 1 }
         END { print (slow ? "above" : "within") " the 300 ms target" }'
