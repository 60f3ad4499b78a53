# Sourced by the scripts that start Wine: which Wine loader this host can run.
#
# Debian's `wine` launcher takes the 32-bit loader whenever wine32 is
# installed, and that loader hands 64-bit programs to the 64-bit one. Some
# hosts run 64-bit code only (their kernel answers an i386 program with
# "Exec format error"); there the launcher fails for every program, 64-bit
# ones included. On such a host `wine` and `wineboot` go to the 64-bit loader
# directly, and 32-bit programs cannot run at all.

# True when this host can run Wine's 32-bit loader.
wine_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The loader for `exec`, which takes no shell function.
wine_loader=wine
if ! wine_runs_32bit && [ -x /usr/lib/wine/wine64 ]; then
    wine_loader=/usr/lib/wine/wine64
    export WINELOADER=$wine_loader
    wine() { "$wine_loader" "$@"; }
    wineboot() { "$wine_loader" wineboot "$@"; }
fi

# is_32bit_program FILE: the Windows executable is built for i386 (the
# machine field of its PE header is 0x14c).
is_32bit_program() {
    local offset
    offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') && [ -n "$offset" ] &&
        [ "$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')" = 014c ]
}
