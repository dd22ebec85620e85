#!/usr/bin/env bash
# Cross-builds Tessaly for Windows with mingw-w64 and runs its tests under Wine.
# Exits non-zero when the build or any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

tessaly_build windows
. scripts/wine-env.sh
tessaly_at_exit tessaly_wine_stop

# The regional settings of a Wine session (decimal separator and the like) are those of
# the locale its first process started under, whatever LC_ALL later processes bring: the
# session is French, so the comma-decimal settings are the ones under test. Tests that
# need another locale's names or code page pin LC_ALL themselves and ask by locale id.
export LC_ALL=fr_FR.UTF-8
tessaly_wine_start

timeout -k 30 1800 ctest --preset windows --parallel "$tessaly_jobs"
