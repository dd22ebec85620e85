#!/usr/bin/env bash
# Builds Tessaly and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

scripts/install-deps.sh
tessaly_build dev

if [ -x build/dev/src/ui/qt/tessaly ]; then
    exec build/dev/src/ui/qt/tessaly "$@"
fi
# Without the desktop program: this month's calendar, opened in the default viewer.
exec build/dev/src/cli/tessaly-cli --open "$@"
