#!/bin/bash
# Builds the command-line front end natively and runs the main job
# ("cindral-cli test": a Test Mode run over this machine, which erases
# nothing; other arguments replace "test"). Needs only the native compiler:
# no tests are built, so neither GoogleTest nor MinGW, Wine or Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CINDRAL_BUILD_ROOT:-$root/build}/main"

bash "$root/scripts/setup.sh" native
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCINDRAL_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target cindral-cli

if [ $# -eq 0 ]; then
    set -- test
fi
exec "$build/bin/cindral-cli" "$@"
