#!/bin/sh
# The log book with a million 80-character lines, recording on, then saved;
# the two-vector design as the reference, each in its own process so each
# peak is its own. usage: bench/log_book_bench.sh BUILD_DIR [WORK_DIR] [LINES]
# BUILD_DIR must be configured with -DCINDRAL_BENCH=ON (target log_book_bench).
set -eu
BUILD=${1:?usage: log_book_bench.sh BUILD_DIR [WORK_DIR] [LINES]}
WORK=${2:-/tmp/cindral-logbench}
LINES=${3:-1000000}
BENCH="$BUILD/bin/log_book_bench"
[ -x "$BENCH" ] || { echo "missing $BENCH (configure with -DCINDRAL_BENCH=ON)"; exit 1; }
mkdir -p "$WORK"
echo "target: book peak/text <= 1.5"
for mode in book naive; do
    /usr/bin/time -o "$WORK/time.$mode" -f "$mode: wall %es, max RSS %M KiB" "$BENCH" "$mode" "$WORK" "$LINES"
    cat "$WORK/time.$mode"
done
