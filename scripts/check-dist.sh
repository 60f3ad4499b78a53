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
# Wine: a fresh prefix of our own, reached like scripts/wine-run.sh reaches
# one (no drive of the host's but the folders we link).

prefix="$work/wineprefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all HOME="$prefix/home"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
# The installer through the runner: it makes the prefix, with the dist
# folder as T:.
check "the installer installs silently (/S) into a fresh prefix" \
    env CINDRAL_WINEPREFIX="$prefix" bash "$root/scripts/wine-run.sh" "$setup" /S
wineserver -w
user=$(ls "$prefix/drive_c/users" | grep -v -x Public | head -n1)
profile="$prefix/drive_c/users/$user"
installed="$profile/AppData/Local/Programs/Cindral"
winInstalled="C:\\users\\$user\\AppData\\Local\\Programs\\Cindral"
startMenu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstallKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Cindral'
runKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settingsKey='HKCU\Software\Quorvane\Cindral'

files_installed() {
    local f
    for f in cindral.exe cindral-cli.exe peditor.exe help.chm license.txt uninstall.exe; do
        [ -f "$installed/$f" ] || { echo "missing: $f"; return 1; }
    done
    for f in $shipped_plugins; do
        cmp "$installed/Plug-Ins/$f" "$root/packaging/plugins/$f" || return 1
    done
    cmp "$installed/cindral.exe" "$app/cindral.exe"
}
check "the program's files are in the user's programs folder" files_installed
check "the Start menu has Cindral" test -f "$startMenu/Cindral.lnk"
check "the Start menu has the plug-in editor" test -f "$startMenu/Cindral Plug-In Editor.lnk"

reg_value() {  # KEY NAME: the value's data, as reg.exe shows it
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
uninstall_entry() {
    [ "$(reg_value "$uninstallKey" DisplayVersion)" = "$version" ] &&
        [ "$(reg_value "$uninstallKey" DisplayName)" = "Cindral $version" ] &&
        [ "$(reg_value "$uninstallKey" Publisher)" = "Quorvane Software" ] &&
        [ "$(reg_value "$uninstallKey" DisplayIcon)" = "$winInstalled\\cindral.exe,0" ] &&
        [ -n "$(reg_value "$uninstallKey" EstimatedSize)" ] &&
        [ "$(reg_value "$uninstallKey" QuietUninstallString)" = \
            "\"$winInstalled\\uninstall.exe\" /S" ]
}
check "Add/Remove Programs lists Cindral with icon, version, size and silent uninstall" \
    uninstall_entry

# wait_for FILE: up to 60 seconds.
wait_for() {
    local i
    for i in $(seq 60); do
        [ -e "$1" ] && return 0
        sleep 1
    done
    return 1
}
# start_program WINDOWS-PATH DATA-FILE SCREENSHOT: starts the program, waits
# for the selection it writes at start and for its window, takes a
# screenshot; the program keeps running.
start_program() {
    wine "$1" </dev/null >/dev/null 2>&1 &
    wait_for "$2" || { echo "no $2 after 60 s"; return 1; }
    local i
    for i in $(seq 30); do
        xwininfo -root -tree | grep -q '"Cindral"' && break
        sleep 1
    done
    sleep 2
    import -window root "$3"
    xwininfo -root -tree | grep '"Cindral"'
}
check "the installed program starts, shows its window and writes Data beside itself" \
    start_program "$winInstalled\\cindral.exe" "$installed/Data/SelItems.dat" \
    "$work/installed-program.png"

refuses_while_running() {
    env CINDRAL_WINEPREFIX="$prefix" bash "$root/scripts/wine-run.sh" "$setup" /S
    [ $? -eq 2 ]
}
check "a second install refuses (exit 2) while the program runs" refuses_while_running
wineserver -k
wineserver -w

# uninstall [ARGS...]: the silent uninstaller as an administrator starts it
# (it goes on from a copy of itself in the temporary folder, so that it can
# remove itself), waited for.
uninstall() {
    wine "$winInstalled\\uninstall.exe" /S "$@" && wineserver -w
}
wine reg add "$runKey" /v Cindral /d "$winInstalled\\cindral.exe -m -s" /f >/dev/null 2>&1
check "the uninstaller runs silently (/S)" uninstall
removed_kept_data() {
    local f
    for f in cindral.exe cindral-cli.exe peditor.exe help.chm license.txt $(echo "$shipped_plugins" |
        sed 's|^|Plug-Ins/|'); do
        [ ! -e "$installed/$f" ] || { echo "still there: $f"; return 1; }
    done
    [ ! -e "$startMenu/Cindral.lnk" ] || { echo "still there: Start-menu entry"; return 1; }
    [ ! -e "$startMenu/Cindral Plug-In Editor.lnk" ] ||
        { echo "still there: the plug-in editor's Start-menu entry"; return 1; }
    ! wine reg query "$uninstallKey" >/dev/null 2>&1 || { echo "uninstall entry stays"; return 1; }
    [ -z "$(reg_value "$runKey" Cindral)" ] || { echo "Run value stays"; return 1; }
    [ -f "$installed/Data/SelItems.dat" ] || { echo "Data is gone"; return 1; }
    wine reg query "$settingsKey" >/dev/null 2>&1 || { echo "settings are gone"; return 1; }
}
check "uninstall removes files, Start menu, uninstall entry and Run value; keeps Data" \
    removed_kept_data

check "a second silent install over the kept data" \
    env CINDRAL_WINEPREFIX="$prefix" bash "$root/scripts/wine-run.sh" "$setup" /S
wineserver -w
other='C:\Other Copy\cindral.exe -m -s'
wine reg add "$runKey" /v Cindral /d "$other" /f >/dev/null 2>&1
removed_data() {
    uninstall /REMOVEDATA || return 1
    [ ! -e "$installed" ] || { ls -R "$installed"; return 1; }
    ! wine reg query "$settingsKey" >/dev/null 2>&1 || { echo "settings stay"; return 1; }
    [ "$(reg_value "$runKey" Cindral)" = "$other" ] || { echo "another copy's Run value went"; return 1; }
}
check "/REMOVEDATA removes the data too; another copy's Run value stays" removed_data

# --------------------------------------------------------------------------
# The portable zip, from a folder whose path holds blanks (drive P:).

ln -sfn "$work" "$prefix/dosdevices/p:"
winApp='P:\Program Folder With Blanks\Cindral'
zip_program_runs() {
    start_program "$winApp\\cindral.exe" "$app/Data/SelItems.dat" "$work/portable-program.png" ||
        return 1
    wineserver -k
    wineserver -w
    [ -d "$app/Plug-Ins" ] && [ -f "$app/Data/SelItems.dat" ]
}
check "the zip's program runs from a folder with blanks, its home beside it" zip_program_runs
zip_cli_runs() {
    local queue
    queue=$(wine "$winApp\\cindral-cli.exe" queue </dev/null | tr -d '\r') || return 1
    echo "$queue"
    # The 24 built-in items, then the shipped plug-ins: nothing is stored yet.
    [ "$(echo "$queue" | wc -l)" -eq $((24 + $(echo "$shipped_plugins" | wc -l))) ] &&
        echo "$queue" | grep -qx "Google Chrome Cache"
}
check "the zip's cindral-cli lists the 24 built-in items and the plug-ins of its own folder" \
    zip_cli_runs
wineserver -w

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

# Wine ends before its X server does.
wineserver -w
echo "dist: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
