# Shared by the benchmark scripts (sourced, POSIX sh).

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }
ratio() { echo "scale=3; $1 / $2" | bc -l; }
best() { printf '%s\n' "$@" | sort -g | head -1; }  # smallest of the arguments

# A home folder at $1 whose queue is one custom folder record "*?" over the
# Windows folder $2: every built-in item is deselected.
write_home() {
    rm -rf "$1"
    mkdir -p "$1/Data" "$1/Plug-Ins"
    {
        printf '[Items]\r\n'
        for n in "IE Address Drop-Down List" "IE Cookies" "IE Cache (Temporary Internet Files)" \
            "Index.dat File" "IE Autocomplete Forms and Passwords" \
            "Windows Open/Save Dialog History" "Windows Search History" \
            "Windows Recent Documents" "Windows Run History" "Windows Temp Folder" \
            "Windows Recycle Bin" "Clipboard" "Netscape Address Drop-Down List" \
            "Netscape Cookies" "Netscape Cache" "Netscape History Files" \
            "Opera Address Drop-Down List" "Opera Cookies" "Opera Cache" \
            "AOL Address Drop-Down List" "AOL Cookies" "AOL Cache" "AOL History Files" \
            "Drive Scan with Mask"; do
            printf '%s=0\r\n' "$n"
        done
    } > "$1/Data/SelItems.dat"
    printf 'Tree;%s;1;;1;\r\n' "$2" > "$1/Data/CustomFolder.dat"
}
