#!/bin/bash
# Runs a Windows executable under Wine in a prefix that belongs to the build
# folder. The prefix sees only its own C: drive and the executable's folder
# (as T:): the z: link to the host's root and any other drive link is removed,
# and the user folders Wine links to the host's home (Desktop, Documents, ...)
# are replaced by empty folders, so nothing a test does can reach the host's
# files through a drive letter.
#
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
# CINDRAL_WINEPREFIX overrides the prefix (default: <build folder>/wineprefix).
# CINDRAL_WINE_PERSIST: seconds Wine stays up after the last run (default 5).
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
exe="$1"; shift
bindir="$(cd "$(dirname "$exe")" && pwd)"
. "$(dirname "$0")/wine-host.sh"
if is_32bit_program "$exe" && ! wine_runs_32bit; then
    echo "wine-run: $(basename "$exe") is a 32-bit program; this host runs 64-bit programs only" >&2
    exit 125
fi
export WINEPREFIX="${CINDRAL_WINEPREFIX:-$(dirname "$bindir")/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers, no desktop menu entries written to the host.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Wine links the user folders to folders of $HOME and writes desktop files
# below it; a home of the prefix's own keeps all that inside the build folder.
export HOME="$WINEPREFIX/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_DESKTOP_DIR XDG_DOCUMENTS_DIR

# Every drive link but C: and T: goes (z: is the host's root).
remove_host_drives() {
    local device
    for device in "$WINEPREFIX"/dosdevices/*; do
        case "$(basename "$device")" in
            c:|t:) ;;
            *) rm -f "$device" ;;
        esac
    done
}

# Makes the prefix. It is marked ready only when every step succeeded; a
# prefix whose making was cut short carries .cindral-making and is made anew.
make_prefix() {
    [ ! -e "$WINEPREFIX/.cindral-making" ] || rm -rf -- "$WINEPREFIX"
    mkdir -p "$WINEPREFIX" && touch "$WINEPREFIX/.cindral-making" || return 1
    mkdir -p "$HOME"
    wineboot -i >/dev/null 2>&1 && wineserver -w && [ -f "$WINEPREFIX/system.reg" ] || return 1
    remove_host_drives
    # Replace every link below the user profiles with a real empty folder.
    find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type l -print0 2>/dev/null |
        while IFS= read -r -d '' link; do
            rm -f "$link" && mkdir -p "$link"
        done
    unmanaged_windows || return 1
    # The first session of a new prefix is slow to bring up its drives (the
    # mount manager makes the drive letters GetLogicalDrives reports while
    # the program already runs); one short session absorbs that.
    wine cmd /c vol c: >/dev/null 2>&1 && wineserver -w || return 1
    mv "$WINEPREFIX/.cindral-making" "$WINEPREFIX/.cindral-ready"
}

# Wine hands the top-level windows to the window manager and, on hiding one,
# waits for the manager to take it back: two seconds for every dialog closed
# or window hidden where no manager runs (xvfb-run). The prefix's own windows
# are placed by Wine itself instead; nothing the program does depends on it.
unmanaged_windows() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        </dev/null >/dev/null 2>&1 9>&- && touch "$WINEPREFIX/.cindral-unmanaged"
}

# Debian's wineserver ends the moment its last program does, so every run
# would start Wine's services anew (about a second). A server that waits a
# few seconds serves a series of runs (ctest starts one per test). It keeps
# the X display of the session that started it, so a run from another
# session (another display, or none) waits for it to end first. The services
# a new server starts keep the first program's output open as long as they
# live, and ctest waits for a test's output to close: a silent first program
# starts them.
start_server() {
    local session="${DISPLAY:-} ${XAUTHORITY:-}"
    if [ "$(cat "$WINEPREFIX/.cindral-session" 2>/dev/null)" != "$session" ]; then
        wineserver -w || true
    fi
    if wineserver -p"${CINDRAL_WINE_PERSIST:-5}" >/dev/null 2>&1 9>&-; then
        wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
    fi
    printf '%s' "$session" >"$WINEPREFIX/.cindral-session"
}

# The first program with a window starts the desktop process (explorer.exe
# /desktop), which inherits that program's output and lives on until a second
# after the desktop's last other program has ended: ctest, waiting for the
# output to close, would lose a second after every test that shows a window.
# A desktop started here by a silent program has no output of anyone's; the
# next run, following within the second, keeps it up for the run after it.
desktop_running() {
    local pid
    for pid in $(pgrep -f 'explorer\.exe /desktop'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
            grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}
start_desktop() {
    [ -n "${DISPLAY:-}" ] || return 0
    desktop_running || wine rundll32.exe </dev/null >/dev/null 2>&1 9>&- || true
}

# Several runs may start at once on a fresh prefix (make -j, ctest -j): one of
# them creates it, the others wait.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.cindral-ready" ] && ! make_prefix; then
    echo "wine-run: could not make the Wine prefix $WINEPREFIX" >&2
    exit 1
fi
mkdir -p "$HOME"
remove_host_drives
ln -sfn "$bindir" "$WINEPREFIX/dosdevices/t:"
start_server
# A prefix made before Wine placed its windows itself is brought up to date.
[ -f "$WINEPREFIX/.cindral-unmanaged" ] || unmanaged_windows || true
start_desktop
flock -u 9
exec 9>&-

# The host's working folder is out of the prefix's reach: start in T:\ instead.
cd "$bindir"
# wine hands back the program's exit code; a program that crashes ends with
# its exception's low byte (5 for an access violation), not with a signal.
# Wine's own loader, though, now and then dies of SIGSEGV while the process
# shuts down, after the program has finished: seen with the 32-bit loader
# under load, after a test had printed its result. Such a run is made once
# more, and each one is counted in the build folder (wine-loader-crashes.log)
# so that the test scripts can report it. Any other outcome is handed back
# as it is.
# The loader runs as a child that a signal to this script (ctest's timeout,
# Ctrl+C) reaches too; its standard input stays the script's own.
crash_log="$(dirname "$bindir")/wine-loader-crashes.log"
child=
trap '[ -z "$child" ] || kill -TERM "$child" 2>/dev/null' TERM INT HUP
for attempt in 1 2; do
    "$wine_loader" "T:\\$(basename "$exe")" "$@" <&0 &
    child=$!
    while :; do
        rc=0
        wait "$child" || rc=$?
        kill -0 "$child" 2>/dev/null || break
    done
    [ "$rc" -eq 139 ] && [ "$attempt" -eq 1 ] || exit "$rc"
    echo "wine-run: the Wine loader died of SIGSEGV running $(basename "$exe") $*; running it once more" >&2
    printf '%s %s %s\n' "$(date -u +%FT%TZ)" "$(basename "$exe")" "$*" >>"$crash_log"
done
