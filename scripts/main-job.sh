#!/bin/bash
# Builds the command-line front end natively and runs the main job
# ("cindral-cli settings"; other arguments replace "settings").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CINDRAL_BUILD_ROOT:-$root/build}/native"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
make -C "$build" -j2 --no-print-directory cindral-cli

if [ $# -eq 0 ]; then
    set -- settings
fi
exec "$build/bin/cindral-cli" "$@"
