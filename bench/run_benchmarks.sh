#!/bin/sh
# Engine benchmarks against find and dd, measured side by side on the same
# warm tree. usage: bench/run_benchmarks.sh BUILD_DIR [WORK_DIR]
# BUILD_DIR must be configured with -DCINDRAL_BENCH=ON (target engine_bench).
# ONLY=walk, ONLY=clean or ONLY=wipe runs that comparison alone.
set -eu
BUILD=${1:?usage: run_benchmarks.sh BUILD_DIR [WORK_DIR]}
WORK=${2:-/tmp/cindral-bench}
HERE=$(cd "$(dirname "$0")" && pwd)
BENCH="$BUILD/bin/engine_bench"
[ -x "$BENCH" ] || { echo "missing $BENCH (configure with -DCINDRAL_BENCH=ON)"; exit 1; }

. "$HERE/bench_lib.sh"

want() { [ -z "${ONLY:-}" ] || [ "$ONLY" = "$1" ]; }

mkdir -p "$WORK"
if want walk || want clean; then
if [ ! -d "$WORK/tree" ]; then
    python3 "$HERE/make_tree.py" "$WORK/tree"
fi
find "$WORK/tree" -printf '' # warm the caches
fi

if want walk; then
echo "== walk: test run of *.tmp with subfolders vs find -iname"
F=""; E=""
for i in 1 2 3; do
    s=$(now); find "$WORK/tree" -iname '*.tmp' -printf '%p %s\n' > /dev/null; e=$(now)
    F="$F $(elapsed $s $e)"
    s=$(now); "$BENCH" walk "$WORK/tree" > "$WORK/walk.out"; e=$(now)
    E="$E $(elapsed $s $e)"
done
f=$(best $F); o=$(best $E)
echo "find ${f}s  engine ${o}s  ($(cat "$WORK/walk.out"))  ratio $(ratio $o $f) (target <= 1.5)"
fi

if want clean; then
echo "== clean: deleting *.tmp on fresh copies vs find -delete (one run each; disk-bound)"
rm -rf "$WORK/copy1" "$WORK/copy2"
cp -a "$WORK/tree" "$WORK/copy1"
cp -a "$WORK/tree" "$WORK/copy2"
sync  # the copies' writeback must not land on whichever run comes first
find "$WORK/copy1" "$WORK/copy2" -printf ''
s=$(now); find "$WORK/copy1" -iname '*.tmp' -delete; e=$(now); f=$(elapsed $s $e)
s=$(now); "$BENCH" clean "$WORK/copy2" > "$WORK/clean.out"; e=$(now); o=$(elapsed $s $e)
left=$(find "$WORK/copy2" -iname '*.tmp' | wc -l)
echo "find ${f}s  engine ${o}s  ($(cat "$WORK/clean.out"), $left left)  ratio $(ratio $o $f) (target <= 1.5)"
rm -rf "$WORK/copy1" "$WORK/copy2"
fi

want wipe || exit 0
echo "== wipe: WipeFile method 1, one pass, 256 MiB vs dd conv=notrunc,fsync"
F=""; E=""; R=""
for i in 1 2 3; do
    dd if=/dev/urandom of="$WORK/wipe.bin" bs=1M count=256 status=none
    sync
    s=$(now); dd if=/dev/zero of="$WORK/wipe.bin" bs=1M count=256 conv=notrunc,fsync status=none; e=$(now)
    F="$F $(elapsed $s $e)"
    # WipeFile also removes the file, which frees its blocks: dd + rm is
    # the same work, shown beside the prescribed reference.
    s=$(now); dd if=/dev/zero of="$WORK/wipe.bin" bs=1M count=256 conv=notrunc,fsync status=none
    rm "$WORK/wipe.bin"; e=$(now)
    R="$R $(elapsed $s $e)"
    dd if=/dev/urandom of="$WORK/wipe.bin" bs=1M count=256 status=none
    sync
    s=$(now); "$BENCH" wipe "$WORK/wipe.bin" > "$WORK/wipe.out"; e=$(now)
    E="$E $(elapsed $s $e)"
    [ ! -e "$WORK/wipe.bin" ] || echo "wipe left the file behind"
done
f=$(best $F); o=$(best $E)
r=$(best $R)
echo "dd ${f}s  engine ${o}s  throughput ratio $(ratio $f $o) (target >= 0.8)"
echo "dd+rm ${r}s  engine ${o}s  throughput ratio $(ratio $r $o)"
