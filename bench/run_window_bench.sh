#!/bin/sh
# A Test Mode run over the benchmark tree in the real main window under Wine,
# against cindral-cli.exe test over the same tree, both under Wine on the
# same prefix. The queue is one custom folder record "*?" over the tree.
#   window run vs cli test run        target <= 1.5
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
for h in home-window home-cli; do
    rm -rf "$DRIVE/$h"; mkdir -p "$DRIVE/$h/Data" "$DRIVE/$h/Plug-Ins"
    {
        printf '[Items]\r\n'
        for n in "IE Address Drop-Down List" "IE Cookies" "IE Cache (Temporary Internet Files)" \
            "Index.dat File" "IE Autocomplete Forms and Passwords" \
            "Windows Open/Save Dialog History" "Windows Search History" \
            "Windows Recent Documents" "Windows Run History" "Windows Temp Folder" \
            "Windows Recycle Bin" "Clipboard" "Netscape Address Drop-Down List" \
            "Netscape Cookies" "Netscape Cache" "Netscape History Files" \
            "Opera Address Drop-Down List" "Opera Cookies" "Opera Cache" \
            "AOL Address Drop-Down List" "AOL Cookies" "AOL Cache" "AOL History Files" \
            "Drive Scan with Mask"; do
            printf '%s=0\r\n' "$n"
        done
    } > "$DRIVE/$h/Data/SelItems.dat"
    printf 'Tree;C:\\cindral-bench\\tree\\;1;;1;\r\n' > "$DRIVE/$h/Data/CustomFolder.dat"
done

now() { date +%s.%N; }
s=$(now)
"$RUN" "$BUILD/bin/cindral-cli.exe" test --home 'C:\cindral-bench\home-cli\' > /dev/null
e=$(now)
CLI=$(echo "$e - $s" | bc -l)
OUT=$(xvfb-run -a -s "-screen 0 1024x768x24" "$RUN" "$BUILD/bin/window_bench.exe" 'C:\cindral-bench\home-window\' | tr -d '\r')
WIN=$(echo "$OUT" | awk '/window_run_seconds/ {print $2}')
ANS=$(echo "$OUT" | awk '/window_max_answer_ms/ {print $2}')
echo "$OUT"
echo "cli_test_seconds $CLI (wall clock, Wine start included)"
echo "ratio window/cli $(echo "scale=3; $WIN / $CLI" | bc -l)   target <= 1.5"
echo "longest answer ${ANS} ms   target <= 100"
