#!/bin/bash
# Builds the command-line front end natively and runs the main job
# ("cindral-cli test": a Test Mode run over this machine, which erases
# nothing; other arguments replace "test").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CINDRAL_BUILD_ROOT:-$root/build}/native"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
make -C "$build" -j2 --no-print-directory cindral-cli

if [ $# -eq 0 ]; then
    set -- test
fi
exec "$build/bin/cindral-cli" "$@"
