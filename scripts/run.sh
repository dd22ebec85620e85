#!/usr/bin/env bash
# Builds Tessaly and starts the desktop program; without a display, makes this month's
# calendar with tessaly-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

scripts/install-deps.sh
tessaly_build dev

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    # No display (SSH, a server, CI): this month's calendar, its path printed, nothing opened.
    build/dev/src/cli/tessaly-cli "$@"
    echo "run.sh: tessaly, the desktop program, needs a display (DISPLAY or WAYLAND_DISPLAY);" \
        "tessaly-cli made the calendar above"
    exit 0
fi
if [ -x build/dev/src/ui/qt/tessaly ]; then
    exec build/dev/src/ui/qt/tessaly "$@"
fi
# Without the desktop program: this month's calendar, opened in the default viewer.
exec build/dev/src/cli/tessaly-cli --open "$@"
