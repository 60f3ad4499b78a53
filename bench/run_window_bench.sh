#!/bin/sh
# A Test Mode run over the benchmark tree in the real main window under Wine,
# against cindral-cli.exe test over the same tree, both under Wine on the
# same prefix, its output sent to a file (under Wine /dev/null is a character
# device, which the C runtime takes for a terminal). The queue is one custom
# folder record "*?" over the tree. bench/run_speed_bench.sh repeats this
# with alternating rounds.
#   window run vs cli test run        target <= 1.2
#   longest answer of the window      target <= 100 ms (SendMessageTimeout
#                                     from another thread, every 20 ms)
# usage: bench/run_window_bench.sh MINGW_BUILD_DIR [FILES]
# (the build needs -DCINDRAL_BENCH=ON; make window_bench cindral-cli)
set -eu
BUILD=$(cd "${1:?usage: run_window_bench.sh MINGW_BUILD_DIR [FILES]}" && pwd)
FILES=${2:-200000}
HERE=$(cd "$(dirname "$0")" && pwd)
RUN="$HERE/../scripts/wine-run.sh"
[ -f "$BUILD/bin/window_bench.exe" ] || { echo "missing window_bench.exe"; exit 1; }
PREFIX="$BUILD/wineprefix"
"$RUN" "$BUILD/bin/cindral-cli.exe" --help > /dev/null 2>&1 || true   # prefix ready
DRIVE="$PREFIX/drive_c/cindral-bench"
[ -d "$DRIVE/tree" ] || python3 "$HERE/make_tree.py" "$DRIVE/tree" "$FILES" 2>/dev/null
. "$HERE/bench_lib.sh"
for h in home-window home-cli; do
    write_home "$DRIVE/$h" 'C:\cindral-bench\tree\'
done
s=$(now)
"$RUN" "$BUILD/bin/cindral-cli.exe" test --home 'C:\cindral-bench\home-cli\' > "$DRIVE/cli.out"
e=$(now)
CLI=$(elapsed $s $e)
OUT=$(xvfb-run -a -s "-screen 0 1024x768x24" "$RUN" "$BUILD/bin/window_bench.exe" 'C:\cindral-bench\home-window\' | tr -d '\r')
WIN=$(echo "$OUT" | awk '/window_run_seconds/ {print $2}')
ANS=$(echo "$OUT" | awk '/window_max_answer_ms/ {print $2}')
echo "$OUT"
echo "cli_test_seconds $CLI (wall clock, Wine start included)"
echo "ratio window/cli $(ratio $WIN $CLI)   target <= 1.2"
echo "longest answer ${ANS} ms   target <= 100"
