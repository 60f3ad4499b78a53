#!/bin/bash
# Runs a Windows executable under Wine in a prefix that belongs to the build
# folder. The prefix sees only its own C: drive and the executable's folder
# (as T:); the z: link to the host's root is removed, so nothing a test does
# can reach the host's files.
set -euo pipefail
exe="$1"; shift
bindir="$(cd "$(dirname "$exe")" && pwd)"
export WINEPREFIX="${CINDRAL_WINEPREFIX:-$(dirname "$bindir")/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
rm -f "$WINEPREFIX/dosdevices/z:"
ln -sfn "$bindir" "$WINEPREFIX/dosdevices/t:"
exec wine "T:\\$(basename "$exe")" "$@"
