#!/bin/bash
# Runs a Windows program under Wine for ctest (the cross build's emulator): in the
# project's prefix, quiet, and killed when it runs too long.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh" || exit 1

limit="${TESSALY_WINE_TIMEOUT:-300}"
exec timeout -k 10 "$limit" wine "$@"
