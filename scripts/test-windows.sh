#!/usr/bin/env bash
# Cross-builds Tessaly for Windows with mingw-w64 and runs its tests under Wine.
# Exits non-zero when the build or any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="$(nproc)"
cmake --preset windows
cmake --build --preset windows --parallel "$jobs"

. scripts/wine-env.sh

stop_wine() {
    timeout -k 5 30 wineserver -k >/dev/null 2>&1 || true
}
trap stop_wine EXIT

# The regional settings of a Wine session (decimal separator and the like) are those of
# the locale its first process started under, whatever LC_ALL later processes bring: the
# session is French, so the comma-decimal settings are the ones under test. Tests that
# need another locale's names or code page pin LC_ALL themselves and ask by locale id.
export LC_ALL=fr_FR.UTF-8
wineserver -k >/dev/null 2>&1 || true

# The server and Wine's own services start here, outside ctest and away from its
# output: started by a test, they would hold ctest's pipe open and it would wait for good.
wineserver -p </dev/null >/dev/null 2>&1
timeout -k 10 120 wine cmd /c exit </dev/null >/dev/null 2>&1

timeout -k 30 1800 ctest --preset windows --parallel "$jobs"
