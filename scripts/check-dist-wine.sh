# The installer and the portable zip under Wine, sourced by check-dist.sh
# (its check(), folders and variables) when the host runs 32-bit programs.

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
