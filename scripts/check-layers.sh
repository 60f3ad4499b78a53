#!/bin/bash
# Checks every #include below src/ against the layer order
#
#     platform <- selection <- engine <- settings <- app <- {cli, shell}
#
# - a folder includes only from itself and the folders before it (cli and
#   shell are two front ends side by side: neither includes the other);
# - a backend header (platform/win32/..., platform/posix/...) is included
#   only by its own backend and by the files that assemble a program;
# - Windows headers (<windows.h> and the other Win32 API headers) only under
#   src/platform/win32/ and src/shell/.
# Project headers are included by their path from src/ ("engine/walker.h"),
# so a relative include is reported too: the check could not place it.
#
# Prints one line per violation (file:line: what) and exits 1 when there is
# any; prints nothing and exits 0 when the tree keeps the order.
# usage: scripts/check-layers.sh [REPOSITORY]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# The files that assemble a program: they pick the backend.
assembly="src/cli/main.cpp src/shell/winmain.cpp src/shell/program.cpp"

find src -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) | LC_ALL=C sort |
    xargs awk -v assembly="$assembly" '
BEGIN {
    n = split("platform selection engine settings app cli shell", order, " ")
    for (i = 1; i <= n; i++) rank[order[i]] = (i <= 5 ? i : 6)
    split(assembly, list, " ")
    for (i in list) assembles[list[i]] = 1
    # Win32 API headers; the C runtime headers MinGW adds (io.h) are not among them.
    windows = "^(win[a-z0-9_]*|commctrl|commdlg|shellapi|shlobj|shlwapi|shobjidl|shtypes|" \
              "objbase|objidl|ole2|oleauto|olectl|oleidl|unknwn|urlhist|urlmon|mmsystem|" \
              "richedit|uxtheme|vssym32|dwmapi|tlhelp32|psapi|userenv|lmcons|sddl|aclapi|" \
              "accctrl|knownfolders|initguid|exdisp|mshtml|intshcut|htmlhelp|dbghelp|" \
              "imagehlp|setupapi|wtsapi32|powrprof|ntsecapi|iphlpapi|dbt|rpc|rpcdce)\\.h$"
    bad = 0
}
function report(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message
    bad = 1
}
function allowed(layer,    list, i) {
    list = ""
    for (i = 1; i <= 7; i++)
        if (order[i] == layer || rank[order[i]] < rank[layer]) list = list (list ? ", " : "") order[i]
    return list
}
FNR == 1 {
    split(FILENAME, part, "/")
    layer = part[2]
    backend = (layer == "platform" && (part[3] == "win32" || part[3] == "posix")) ? part[3] : ""
    if (!(layer in rank)) report("src/" layer " is not a folder of the layer order")
}
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    line = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
    quoted = substr(line, 1, 1) == "\""
    target = substr(line, 2)
    sub(/[>"].*$/, "", target)
    split(target, piece, "/")
    top = piece[1]
    if (top in rank) {
        if (top != layer && rank[top] >= rank[layer])
            report(layer " includes " target " (" layer " may include " allowed(layer) ")")
        if (top == "platform" && (piece[2] == "win32" || piece[2] == "posix") &&
            piece[2] != backend && !(FILENAME in assembles))
            report("includes the " piece[2] " backend header " target \
                   " (only that backend and the program assembly may)")
    } else if (quoted) {
        report("includes \"" target "\" by a path that does not start with a source folder")
    } else if (tolower(target) ~ windows && backend != "win32" && layer != "shell") {
        report("includes <" target "> (Windows headers only in platform/win32/ and shell/)")
    }
}
END { exit bad }
' || exit 1
