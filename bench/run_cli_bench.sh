#!/bin/sh
# Whole runs of cindral-cli against find, side by side on the same warm tree:
# a custom folder record "*?" (every file, with subfolders) over the
# generated tree, every built-in item deselected, so the run's rows are that
# one record. The test run prints every line to /dev/null; the clean run
# deletes every file of a fresh copy. Last, lint of a plug-in that holds
# 20000 keys past Item255, none of which a run reads.
#   test run  vs  find TREE -printf '%p %s\n' > /dev/null   target <= 2
#   clean run vs  find COPY -type f -delete                  target <= 2
#   lint of the 20000 keys                                  target <= 1 s
# usage: bench/run_cli_bench.sh BUILD_DIR [WORK_DIR]
set -eu
BUILD=${1:?usage: run_cli_bench.sh BUILD_DIR [WORK_DIR]}
WORK=${2:-/tmp/cindral-bench}
HERE=$(cd "$(dirname "$0")" && pwd)
CLI="$BUILD/bin/cindral-cli"
[ -x "$CLI" ] || { echo "missing $CLI (make cindral-cli)"; exit 1; }

. "$HERE/bench_lib.sh"

mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd -P)
[ -d "$WORK/tree" ] || python3 "$HERE/make_tree.py" "$WORK/tree"

# The Windows name of a host folder under the default drive map: C: is the
# home folder, Z: the root of the host.
winpath() {
    case "$1" in
        "$HOME"/*) printf 'C:%s' "${1#"$HOME"}" | tr '/' '\\' ;;
        *) printf 'Z:%s' "$1" | tr '/' '\\' ;;
    esac
}

# A home folder whose queue is one custom folder record over $1.
make_home() {
    write_home "$WORK/home-$2" "$(winpath "$1")"
    echo "$WORK/home-$2"
}

# Everything the runs read or write stays in the work folder.
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
REG="$WORK/config/registry.reg"
find "$WORK/tree" -printf '' # warm the caches

echo "== test run over every file vs find -printf"
HOME_T=$(make_home "$WORK/tree" test)
F=""; C=""
for i in 1 2 3; do
    s=$(now); find "$WORK/tree" -printf '%p %s\n' > /dev/null; e=$(now)
    F="$F $(elapsed $s $e)"
    s=$(now)
    /usr/bin/time -o "$WORK/time.test" -f '%M' "$CLI" test --home "$HOME_T" --registry "$REG" > /dev/null
    e=$(now)
    C="$C $(elapsed $s $e)"
done
f=$(best $F); c=$(best $C)
summary=$("$CLI" test --home "$HOME_T" --registry "$REG" | tail -1)
echo "find ${f}s  cindral-cli test ${c}s  ratio $(ratio $c $f) (target <= 2)  peak RSS $(cat "$WORK/time.test") KiB"
echo "  $summary"

echo "== clean run of every file on a fresh copy vs find -type f -delete"
rm -rf "$WORK/copy1" "$WORK/copy2"
cp -a "$WORK/tree" "$WORK/copy1"
cp -a "$WORK/tree" "$WORK/copy2"
find "$WORK/copy1" "$WORK/copy2" -printf ''
HOME_C=$(make_home "$WORK/copy2" clean)
s=$(now); find "$WORK/copy1" -type f -delete; e=$(now); f=$(elapsed $s $e)
s=$(now)
/usr/bin/time -o "$WORK/time.clean" -f '%M' "$CLI" clean --home "$HOME_C" --registry "$REG" > "$WORK/clean.out"
e=$(now); c=$(elapsed $s $e)
left=$(find "$WORK/copy2" -type f | wc -l)
echo "find ${f}s  cindral-cli clean ${c}s  ratio $(ratio $c $f) (target <= 2)  peak RSS $(cat "$WORK/time.clean") KiB  files left $left"
echo "  $(tail -1 "$WORK/clean.out")"
rm -rf "$WORK/copy1" "$WORK/copy2"

echo "== lint of a plug-in with 20000 keys past Item255"
awk 'BEGIN {
    printf "[Plugin]\r\nTitle=Many keys\r\n[Files]\r\nItem1=%%TEMP%%\\*.log\r\n"
    for (n = 300; n < 20300; n++) printf "Item%d=%%TEMP%%\\x%d.log\r\n", n, n
}' > "$WORK/many-keys.cnp"
s=$(now)
findings=$("$CLI" lint "$WORK/many-keys.cnp" --registry "$REG" | wc -l) || true
e=$(now)
echo "cindral-cli lint $(elapsed $s $e)s (target <= 1)  findings $findings (20000 expected)"
