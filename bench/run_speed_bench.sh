#!/bin/sh
# Every speed ratio where the user waits, each against its anchor measured
# in the same run; a shared machine makes single timings noisy, so each
# pair is measured ROUNDS times, alternating, and the medians are compared.
#   window Test Mode run vs cindral-cli.exe test > file (Wine, same tree
#     and prefix)                                        target <= 1.2
#   longest answer of the window during its run          target <= 100 ms
#   cindral-cli.exe test > NUL vs > file                 target ~ 1
#   log book peak memory vs its text, 1,000,000 lines    target <= 1.5
#   cindral-cli test (every file) vs find -printf '%p %s\n' (Linux)
#                                                        target <= 1.1
#   listing with FindFirstFileExA (basic, large fetch) vs FindFirstFileA
#     (Wine, same tree)                                  target <= 1
#   WipeFile method 3 vs shred -n 2 -z -u, 20 x 50 MiB   target <= 0.6
# usage: bench/run_speed_bench.sh NATIVE_BUILD MINGW_BUILD [WORK_DIR]
# Both builds need -DCINDRAL_BENCH=ON (targets cindral-cli, engine_bench,
# log_book_bench natively; cindral-cli window_bench list_bench with MinGW).
# ONLY=window|nul|log|walk|list|wipe runs that comparison alone; ROUNDS=n;
# BEFORE=another native build times its walk too, in the same rounds.
set -eu
NATIVE=$(cd "${1:?usage: run_speed_bench.sh NATIVE_BUILD MINGW_BUILD [WORK_DIR]}" && pwd)
MINGW=$(cd "${2:?usage: run_speed_bench.sh NATIVE_BUILD MINGW_BUILD [WORK_DIR]}" && pwd)
WORK=${3:-/tmp/cindral-bench}
ROUNDS=${ROUNDS:-3}
HERE=$(cd "$(dirname "$0")" && pwd)
RUN="$HERE/../scripts/wine-run.sh"
. "$HERE/bench_lib.sh"
want() { [ -z "${ONLY:-}" ] || [ "$ONLY" = "$1" ]; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd -P)
echo "load: $(uptime)"

if want window || want nul || want list; then
    PREFIX="$MINGW/wineprefix"
    "$RUN" "$MINGW/bin/cindral-cli.exe" --help > /dev/null 2>&1 || true  # prefix ready
    DRIVE="$PREFIX/drive_c/cindral-bench"
    [ -d "$DRIVE/tree" ] || python3 "$HERE/make_tree.py" "$DRIVE/tree" 50000 > /dev/null
    for h in home-window home-cli; do write_home "$DRIVE/$h" 'C:\cindral-bench\tree\'; done
    cli_test() { # $1: where the output goes
        s=$(now)
        "$RUN" "$MINGW/bin/cindral-cli.exe" test --home 'C:\cindral-bench\home-cli\' > "$1"
        e=$(now)
        elapsed $s $e
    }
fi

if want window; then
    echo "== window Test Mode run vs cindral-cli.exe test > file (Wine, 50,000 files)"
    C=""; W=""; A=""
    for i in $(seq "$ROUNDS"); do
        C="$C $(cli_test "$WORK/cli.out")"
        OUT=$(xvfb-run -a -s "-screen 0 1024x768x24" "$RUN" "$MINGW/bin/window_bench.exe" \
            'C:\cindral-bench\home-window\' 2> /dev/null | tr -d '\r')
        W="$W $(echo "$OUT" | awk '/window_run_seconds/ {print $2}')"
        A="$A $(echo "$OUT" | awk '/window_max_answer_ms/ {print $2}')"
    done
    c=$(median $C); w=$(median $W)
    echo "cli > file: $C s   window: $W s   longest answers: $A ms"
    echo "median cli ${c}s  window ${w}s  ratio window/cli $(ratio $w $c)  (target <= 1.2)"
    echo "longest answer, worst round: $(printf '%s\n' $A | sort -g | tail -1) ms  (target <= 100)"
fi

if want nul; then
    echo "== cindral-cli.exe test > NUL vs > file (Wine)"
    N=""; F=""
    for i in $(seq "$ROUNDS"); do
        F="$F $(cli_test "$WORK/cli.out")"
        N="$N $(cli_test /dev/null)"
    done
    f=$(median $F); n=$(median $N)
    echo "median > file ${f}s  > NUL ${n}s  ratio $(ratio $n $f)  (target ~ 1)"
fi

if want log; then
    echo "== log book: 1,000,000 lines of 80 characters, peak RSS vs the text"
    "$NATIVE/bin/log_book_bench" book "$WORK" 1000000
    "$NATIVE/bin/log_book_bench" naive "$WORK" 1000000
    echo "(target: book peak/text <= 1.5)"
fi

if want walk; then
    printf '%s\n' "== cindral-cli test reporting every file vs find -printf '%p %s\\n' (Linux)"
    [ -d "$WORK/tree" ] || python3 "$HERE/make_tree.py" "$WORK/tree" > /dev/null
    export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
    write_home "$WORK/home-walk" "$(printf 'Z:%s' "$WORK/tree" | tr '/' '\\')"
    find "$WORK/tree" -printf '' # warm the caches
    walk_test() { # $1: native build; prints the seconds of its test run
        s=$(now)
        "$1/bin/cindral-cli" test --home "$WORK/home-walk" \
            --registry "$WORK/config/registry.reg" > /dev/null
        e=$(now)
        elapsed $s $e
    }
    F=""; C=""; B=""
    for i in $(seq "$ROUNDS"); do
        s=$(now); find "$WORK/tree" -printf '%p %s\n' > /dev/null; e=$(now)
        F="$F $(elapsed $s $e)"
        C="$C $(walk_test "$NATIVE")"
        [ -z "${BEFORE:-}" ] || B="$B $(walk_test "$BEFORE")"
    done
    f=$(median $F); c=$(median $C)
    echo "find: $F s   cindral-cli: $C s"
    echo "median find ${f}s  cindral-cli ${c}s  ratio $(ratio $c $f)  (target <= 1.1)"
    if [ -n "${BEFORE:-}" ]; then
        b=$(median $B)
        echo "BEFORE=$BEFORE: $B s"
        echo "median before ${b}s  ratio $(ratio $b $f)  after/before $(ratio $c $b)"
    fi
fi

if want list; then
    echo "== listing call: FindFirstFileExA (basic, large fetch) vs FindFirstFileA (Wine, 50,000 files)"
    OUT=$("$RUN" "$MINGW/bin/list_bench.exe" 'C:\cindral-bench\tree\' "$ROUNDS" | tr -d '\r')
    echo "$OUT" | grep '^round'
    p=$(echo "$OUT" | awk '/list_plain_seconds/ {print $2}')
    x=$(echo "$OUT" | awk '/list_ex_seconds/ {print $2}')
    echo "median plain ${p}s  ex ${x}s  ratio ex/plain $(ratio $x $p)  (target <= 1)"
fi

if want wipe; then
    echo "== WipeFile method 3 (zero, 0xFF, random) vs shred -n 2 -z -u, 20 files of 50 MiB"
    mkdir -p "$WORK/wipe"
    fill() { # $1: prefix of the 20 files
        for k in $(seq 20); do
            dd if=/dev/urandom of="$WORK/wipe/$1$k" bs=1M count=50 status=none
        done
        sync
    }
    S=""; E=""
    for i in $(seq "$ROUNDS"); do
        fill s
        s=$(now); shred -n 2 -z -u "$WORK"/wipe/s*; e=$(now)
        S="$S $(elapsed $s $e)"
        fill e
        s=$(now); "$NATIVE/bin/engine_bench" wipe3 "$WORK"/wipe/e* > /dev/null; e=$(now)
        E="$E $(elapsed $s $e)"
        [ -z "$(ls "$WORK/wipe")" ] || echo "files left behind: $(ls "$WORK/wipe" | wc -l)"
    done
    s=$(median $S); e=$(median $E)
    echo "shred: $S s   engine: $E s"
    echo "median shred ${s}s  engine ${e}s  ratio $(ratio $e $s)  (target <= 0.6)"
fi
