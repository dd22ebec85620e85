#!/usr/bin/env bash
# Screenshots of both desktop windows as they start, for comparing two builds pixel for
# pixel (compare -metric AE a.png b.png null:):
#
#   scripts/dev/window-screenshots.sh OUT [TESSALY [TESSALY_EXE]]
#
# OUT gets qt.png (the Qt program under Xvfb) and win32.png (tessaly.exe under Wine and
# Xvfb). Each window starts with a settings store of its own, on 8 December 2026 as far
# as its controls go: the screenshots show the window's fixed parts and its first state.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/scripts/lib.sh"
out="${1:?usage: window-screenshots.sh OUT [TESSALY [TESSALY_EXE]]}"
qt_program="${2:-$root/build/dev/src/ui/qt/tessaly}"
win_program="${3:-$root/build/windows/src/ui/win32/tessaly.exe}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
tessaly_tempdir work /tmp/tessaly-screenshots.XXXXXX

tessaly_xvfb_start "$work" 800x600x24
export LC_ALL=en_US.UTF-8

# shot NAME WINDOW-NAME: the screen once the window has shown itself and settled.
shot() {
    xdotool search --sync --name "$2" >/dev/null
    sleep 2
    import -window root "$out/$1.png"
}

if [ -x "$qt_program" ]; then
    mkdir -p "$work/qt-config"
    XDG_CONFIG_HOME="$work/qt-config" QT_QPA_PLATFORM=xcb "$qt_program" &
    qt_pid=$!
    shot qt Tessaly
    kill "$qt_pid"
    wait "$qt_pid" 2>/dev/null || true
fi

if [ -f "$win_program" ]; then
    export HOME="$work/home"
    mkdir -p "$HOME"
    own_prefix="$work/prefix"
    tessaly_at_exit 'WINEPREFIX="$own_prefix" tessaly_wine_stop'
    TESSALY_WINEPREFIX="$own_prefix" source "$root/scripts/wine-env.sh"
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    cp "$win_program" "$work/tessaly.exe"
    wine "$work/tessaly.exe" >/dev/null 2>&1 &
    win_pid=$!
    shot win32 Tessaly
    kill "$win_pid" 2>/dev/null || true
fi
ls "$out"
