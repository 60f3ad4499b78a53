#!/bin/bash
# Checks the artifacts in dist/ (scripts/dist.sh) as their users meet them:
# - the executables carry the version record, the icon at every size and
#   the manifest (read back with wrestool and icotool);
# - the installer, under Wine in a fresh prefix: a silent install, the files,
#   the Start-menu entry and the uninstall entry; the installed program
#   starts, shows its window and writes its Data folder beside itself (a
#   screenshot is kept); a second installer refuses while it runs; the
#   silent uninstaller removes the program, its Start-menu entry, uninstall
#   entry and start-with-Windows value and keeps the user's data; with
#   /REMOVEDATA it removes the data too, and keeps a start-with-Windows value
#   that starts another copy;
# - the portable zip runs from a folder whose path holds blanks;
# - the Debian package installs into a scratch root, runs, and its manual
#   page renders without warnings.
# The installer and the programs are 32-bit: on a host that runs 64-bit
# programs only, their checks under Wine are reported as not run.
# Runs itself under a virtual X server when there is no display. Prints one
# line per check and "dist: N passed, N failed"; exits 1 when any failed.
#
# CINDRAL_DIST        the artifacts (default: <repo>/dist)
# CINDRAL_BUILD_ROOT  the scratch folder goes to <root>/dist-check (default:
#                     <repo>/build); the screenshots stay there
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="${CINDRAL_DIST:-$root/dist}"
work="${CINDRAL_BUILD_ROOT:-$root/build}/dist-check"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

version=$(sed -n 's/^project(Cindral VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup="$dist/cindral-$version-setup.exe"
zip="$dist/cindral-$version-portable.zip"
deb=$(ls "$dist"/cindral-cli_"$version"_*.deb 2>/dev/null | head -n1)

passed=0
failed=0
# check DESCRIPTION COMMAND...: one check, its outcome on one line.
check() {
    local what=$1; shift
    if "$@" >"$work/last.log" 2>&1; then
        passed=$((passed + 1))
        echo "ok    $what"
    else
        failed=$((failed + 1))
        echo "FAIL  $what"
        sed 's/^/      /' "$work/last.log" | tail -n 20
    fi
}

rm -rf "$work"
mkdir -p "$work"

# --------------------------------------------------------------------------
# The executables' resources, from the zip (the installer holds the same).

unpacked="$work/Program Folder With Blanks"
mkdir -p "$unpacked"
(cd "$unpacked" && unzip -q "$zip")
app="$unpacked/Cindral"

shipped_plugins=$(cd "$root/packaging/plugins" && ls *.cnp)
zip_lists_the_files() {
    diff <(unzip -Z1 "$zip" | sort) <(sort <<EOF
Cindral/
Cindral/Plug-Ins/
$(echo "$shipped_plugins" | sed 's|^|Cindral/Plug-Ins/|')
Cindral/cindral-cli.exe
Cindral/cindral.exe
Cindral/help.chm
Cindral/license.txt
Cindral/peditor.exe
EOF
)
}
check "zip holds the programs, the plug-in editor, help.chm, license.txt and the plug-in library" \
    zip_lists_the_files

# version_record EXE DESCRIPTION: the strings of the version record.
version_record() {
    local strings
    strings=$(wrestool -x --raw -t16 "$1" | strings -el -n 3) || return 1
    value() { echo "$strings" | grep -A1 -x "$1" | sed -n 2p; }
    echo "$strings"
    [ "$(value CompanyName)" = "Quorvane Software" ] &&
        [ "$(value FileVersion)" = "$version" ] &&
        [ "$(value ProductVersion)" = "$version" ] &&
        [ "$(value ProductName)" = "Cindral" ] &&
        [ "$(value FileDescription)" = "$2" ] &&
        value LegalCopyright | grep -q '^Copyright (C) Quorvane Software'
}
check "cindral.exe has its version record" \
    version_record "$app/cindral.exe" "Cindral privacy cleaner"
check "cindral-cli.exe has its version record" \
    version_record "$app/cindral-cli.exe" "Cindral privacy cleaner (command line)"
check "peditor.exe has its version record" \
    version_record "$app/peditor.exe" "Cindral plug-in editor"

# icon_sizes EXE: the first icon holds 16, 24, 32, 48 and 256 pixel images.
icon_sizes() {
    wrestool -x -t14 "$1" >"$work/icon.ico" || return 1
    icotool -l "$work/icon.ico"
    local size
    for size in 16 24 32 48 256; do
        icotool -l "$work/icon.ico" | grep -q -- "--width=$size --height=$size --bit-depth=32" ||
            return 1
    done
}
check "cindral.exe has the icon at 16, 24, 32, 48 and 256 pixels" icon_sizes "$app/cindral.exe"
check "cindral-cli.exe has the icon at 16, 24, 32, 48 and 256 pixels" \
    icon_sizes "$app/cindral-cli.exe"
check "peditor.exe has the icon at 16, 24, 32, 48 and 256 pixels" icon_sizes "$app/peditor.exe"

manifest_settings() {
    local manifest
    manifest=$(wrestool -x --raw -t24 "$1") || return 1
    echo "$manifest" | grep -q 'Microsoft.Windows.Common-Controls' &&
        echo "$manifest" | grep -q '<dpiAware[^>]*>true<' &&
        echo "$manifest" | grep -q '<longPathAware[^>]*>true<' &&
        echo "$manifest" | grep -q 'level="asInvoker"'
}
check "cindral.exe's manifest: common controls 6, DPI aware, long paths, asInvoker" \
    manifest_settings "$app/cindral.exe"
check "peditor.exe's manifest: common controls 6, DPI aware, long paths, asInvoker" \
    manifest_settings "$app/peditor.exe"
utf8_code_page() {
    wrestool -x --raw -t24 "$1" | grep -q '<activeCodePage[^>]*>UTF-8</activeCodePage>'
}
check "cindral.exe's manifest asks for the UTF-8 code page" utf8_code_page "$app/cindral.exe"
check "cindral-cli.exe's manifest asks for the UTF-8 code page" \
    utf8_code_page "$app/cindral-cli.exe"

# --------------------------------------------------------------------------
# The installer and the portable zip: 32-bit programs, under Wine.

. "$root/scripts/wine-host.sh"
not_run=
if wine_runs_32bit; then
    . "$root/scripts/check-dist-wine.sh"
else
    not_run=", the installer and zip checks not run (this host runs 64-bit programs only)"
    echo "skip  the installer and the portable zip under Wine: this host runs 64-bit programs only"
fi

# --------------------------------------------------------------------------
# The Debian package.

deb_fields() {
    dpkg-deb --info "$deb"
    [ "$(dpkg-deb --field "$deb" Package)" = cindral-cli ] &&
        [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] &&
        dpkg-deb --field "$deb" Depends | grep -q 'libc6' &&
        dpkg-deb --field "$deb" Depends | grep -q 'libstdc++6'
}
check "the package's control fields (name, version, library dependencies)" deb_fields

deb_contents() {
    local contents
    contents=$(dpkg-deb --contents "$deb") || return 1
    echo "$contents"
    local f
    for f in ./usr/bin/cindral-cli ./usr/share/man/man1/cindral-cli.1.gz \
        ./usr/share/doc/cindral-cli/copyright; do
        echo "$contents" | grep -q " $f\$" || { echo "missing: $f"; return 1; }
    done
    ! echo "$contents" | awk '{print $2}' | grep -v -x 'root/root'
}
check "the package holds the program, its manual page and copyright, owned by root" deb_contents

scratch="$work/debian-root"
deb_installs() {
    mkdir -p "$scratch/var/lib/dpkg/info" "$scratch/var/lib/dpkg/updates"
    touch "$scratch/var/lib/dpkg/status"
    # The libraries it needs are the host's; the scratch root has none.
    dpkg --root="$scratch" --log="$scratch/dpkg.log" --force-depends --force-script-chrootless \
        -i "$deb" &&
        dpkg --root="$scratch" -s cindral-cli | grep -q '^Status: install ok installed'
}
check "dpkg -i installs the package into a scratch root" deb_installs

deb_runs() {
    local bin="$scratch/usr/bin/cindral-cli" home="$work/linux-home"
    mkdir -p "$home/cindral"
    [ "$("$bin" --version)" = "Cindral $version" ] || return 1
    HOME="$home" "$bin" queue --home "$home/cindral" | tee "$work/queue.txt" &&
        [ "$(wc -l <"$work/queue.txt")" -eq 24 ] &&
        HOME="$home" "$bin" test --json --home "$home/cindral" >"$work/test.json" &&
        python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(d["summary"])' \
            "$work/test.json"
}
check "the packaged cindral-cli runs: --version, queue, a Test Mode run as JSON" deb_runs

man_renders() {
    local page="$scratch/usr/share/man/man1/cindral-cli.1.gz"
    MANWIDTH=80 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.err"
    cat "$work/man.err"
    [ ! -s "$work/man.err" ] && grep -q '^EXIT STATUS' "$work/man.txt" &&
        grep -q -- '--registry FILE' "$work/man.txt"
}
check "man renders the page without warnings" man_renders
deb_removes() {
    dpkg --root="$scratch" --log="$scratch/dpkg.log" --force-script-chrootless -r cindral-cli &&
        [ ! -e "$scratch/usr/bin/cindral-cli" ]
}
check "dpkg -r removes the package" deb_removes

echo "dist: $passed passed, $failed failed$not_run"
[ "$failed" -eq 0 ]
