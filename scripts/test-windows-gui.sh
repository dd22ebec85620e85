#!/usr/bin/env bash
# Drives the real tessaly.exe under Xvfb and Wine, through the keyboard as a user would,
# and checks what it leaves behind: the calendar files beside the .exe, the registry,
# and what it asked the shell to open. Runs in a fresh Wine prefix and display of its
# own, so it disturbs no other Wine run.
#
#   scripts/test-windows-gui.sh [build folder]     (default: build/windows)
#   scripts/test-windows-gui.sh --packages DIR
#
# With --packages, the installed copy instead: the installer in DIR
# (tessaly-<version>-setup.exe) installs silently; the program, started from its
# Start-menu shortcut, writes into the documents folder; the silent uninstaller removes
# what was installed and leaves the calendars and settings. The portable zip in DIR must
# hold the same programs.
#
# Prints "N passed, N failed" last; exits non-zero when a check fails.
set -uo pipefail
cd "$(dirname "$0")/.."

. scripts/lib.sh

packages=""
if [ "${1:-}" = --packages ]; then
    packages="${2:?usage: $0 --packages DIR}"
fi

if [ -n "$packages" ]; then
    # Wine lets everyone write everywhere; for the installed copy, Program Files is made
    # unwritable by its Unix permissions, which root would ignore: run without that power.
    if [ "$(id -u)" -eq 0 ] && [ -z "${TESSALY_WITHOUT_DAC_OVERRIDE:-}" ]; then
        exec env TESSALY_WITHOUT_DAC_OVERRIDE=1 setpriv --bounding-set=-dac_override \
            "$PWD/scripts/test-windows-gui.sh" "$@"
    fi
    setup=("$packages"/tessaly-*-setup.exe)
    portable=("$packages"/tessaly-*-windows-portable.zip)
    if [ "${#setup[@]}" -ne 1 ] || [ ! -f "${setup[0]}" ] || [ "${#portable[@]}" -ne 1 ] ||
        [ ! -f "${portable[0]}" ]; then
        fail "$packages holds one installer and one portable zip"
        finish
    fi
    setup="$(realpath "${setup[0]}")"
    portable="$(realpath "${portable[0]}")"
    version="${setup##*/tessaly-}"
    version="${version%-setup.exe}"
else
    build="${1:-build/windows}"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        if [ "$build" != build/windows ] || ! cmake --preset windows >/dev/null; then
            fail "$build is a configured build folder"
            finish
        fi
    fi
    # The window's own tests exist once tests/ui/win32 is part of the build.
    targets=(tessaly tessaly-cli)
    if [ -d "$build/tests/ui/win32" ]; then
        targets+=(win32gui_window_tests)
    fi
    if ! cmake --build "$build" --target "${targets[@]}" --parallel "$tessaly_jobs" >/dev/null; then
        fail "the build of ${targets[*]}"
        finish
    fi
    gui_exe="$(realpath "$build/src/ui/win32/tessaly.exe")"
    cli_exe="$(realpath "$build/src/cli/tessaly-cli.exe")"
    window_tests_exe=""
    if [ -d "$build/tests/ui/win32" ]; then
        window_tests_exe="$(realpath "$build/tests/ui/win32/win32gui_window_tests.exe")"
    fi
fi

tessaly_tempdir work /tmp/tessaly-gui-test.XXXXXX

# --- a display of our own
if ! tessaly_xvfb_start "$work" 1024x768x24; then
    fail "a virtual display starts"
    finish
fi

# --- a fresh Wine prefix of its own, made as every other Wine run here makes one; with
# a home of its own too, which the prefix's Documents and other shell folders lead to
own_prefix="$work/prefix"
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR
mkdir -p "$HOME"
export LC_ALL=en_US.UTF-8
echo "preparing a Wine prefix on display $DISPLAY..."
# Only this test's own server is stopped at the end: a prefix from the caller's
# environment stays untouched.
tessaly_at_exit 'WINEPREFIX="$own_prefix" tessaly_wine_stop'
if ! TESSALY_WINEPREFIX="$own_prefix" source scripts/wine-env.sh; then
    fail "a Wine prefix can be made"
    finish
fi
# There is no window manager: Wine draws the window frames itself and keeps its windows
# unmanaged (else every closing window waits two seconds for a manager's answer). Crash
# dialogs stay away, and every file or address handed to the shell is only written
# down in C:\opened.txt: no viewer or browser ever starts.
cat >"$work/test.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CLASSES_ROOT\TessalyTest.Opened\shell\open\command]
@="C:\\windows\\system32\\cmd.exe /c echo %1>>C:\\opened.txt"

[HKEY_CLASSES_ROOT\.html]
@="TessalyTest.Opened"

[HKEY_CLASSES_ROOT\.pdf]
@="TessalyTest.Opened"

[HKEY_CLASSES_ROOT\http\shell\open\command]
@="C:\\windows\\system32\\cmd.exe /c echo %1>>C:\\opened.txt"

[HKEY_CLASSES_ROOT\https\shell\open\command]
@="C:\\windows\\system32\\cmd.exe /c echo %1>>C:\\opened.txt"
EOF
if ! timeout -k 10 60 wine reg import "$(winepath -w "$work/test.reg" 2>/dev/null)" \
    </dev/null >/dev/null 2>&1; then
    fail "the test's registry settings can be imported"
    finish
fi
opened="$WINEPREFIX/drive_c/opened.txt"

# Starts tessaly.exe from its folder $app (or with the command in start_command) and
# waits for its window; sets app_pid and window.
app="$work/app"
start_command=(wine tessaly.exe)
window=""
app_pid=""
tessaly_at_exit '[ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null'
start_app() {
    (cd "$app" && exec timeout -k 5 300 "${start_command[@]}" \
        </dev/null >>"$work/app.log" 2>&1) &
    app_pid=$!
    window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Tessaly$' 2>/dev/null |
        head -n 1)"
    [ -n "$window" ] || return 1
    # The first activation (today's date, the stored choices) runs just after the show.
    sleep 1
}

# Waits until the program has ended, up to $1 seconds.
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$app_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
    wait "$app_pid" 2>/dev/null
    app_pid=""
}

# Waits until file $1 exists, up to $2 seconds; the program moves it into place whole.
wait_for_file() {
    local deadline=$((SECONDS + $2))
    while [ ! -s "$1" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
    sleep 0.5
}

# Waits until C:\opened.txt names file $1, up to $2 seconds.
wait_for_opened() {
    local deadline=$((SECONDS + $2))
    until grep -qF "\\$1" "$opened" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# Opening a file starts the shell's handler, which takes the activation; a click on the
# caption brings it back, as a user would do.
activate_window() {
    xdotool mousemove --window "$window" 150 8
    sleep 0.3
    xdotool click 1
    sleep 0.5
}

stored_value() {
    timeout -k 5 30 wine reg query 'HKCU\Software\Orvanta\Tessaly' /v "$1" </dev/null 2>/dev/null |
        tr -d '\r' | awk -v name="$1" '$1 == name { print $2 " " $3 }'
}

# Ticks "Create as PDF instead of HTML", sixth in the tab order after "Create and view",
# and checks that the program stores PDF = 1 at once; $1 says what the check is.
tick_pdf_box() {
    activate_window
    xdotool key --delay 150 Tab Tab Tab Tab Tab Tab space
    sleep 1
    if [ "$(stored_value PDF)" = "REG_SZ 1" ]; then
        pass "$1"
    else
        fail "$1; found '$(stored_value PDF)'"
    fi
}

if [ -n "$packages" ]; then
    . scripts/test-windows-installed.sh
    finish
fi

mkdir -p "$app"
cp "$gui_exe" "$app/tessaly.exe"

# --- first run: Return right after the start makes this month's HTML calendar
if ! start_app; then
    fail "tessaly.exe shows its window"
    finish
fi
pass "tessaly.exe shows its window"

month="$(date +%-m)"
year="$(date +%Y)"
xdotool key Return
if wait_for_file "$app/calendar.html" 30; then
    mkdir -p "$work/cli"
    if (cd "$work/cli" && timeout -k 5 60 wine "$cli_exe" --month "$month" \
        --year "$year" </dev/null >/dev/null 2>"$work/cli.log") &&
        cmp -s "$app/calendar.html" "$work/cli/calendar.html"; then
        pass "Return after the start writes calendar.html, identical to tessaly-cli's for $month/$year"
    else
        fail "calendar.html differs from tessaly-cli's for $month/$year (or tessaly-cli failed)"
    fi
else
    fail "Return after the start writes calendar.html beside tessaly.exe"
fi
if wait_for_opened calendar.html 15; then
    pass "the shell is asked to open calendar.html"
else
    fail "the shell is asked to open calendar.html"
fi

# --- tick "Create as PDF instead of HTML"
tick_pdf_box "ticking the PDF box stores PDF = 1 (REG_SZ) at once"

# --- close with Alt+F4; nothing is asked, the program ends
xdotool key alt+F4
if wait_for_exit 20; then
    pass "Alt+F4 ends the program"
else
    fail "Alt+F4 ends the program"
    timeout -k 5 30 wine taskkill /im tessaly.exe </dev/null >/dev/null 2>&1
    wait_for_exit 10 || {
        kill "$app_pid" 2>/dev/null
        finish
    }
fi

# --- second run: the remembered PDF choice makes Return write calendar.pdf
rm -f "$app/calendar.html"
if ! start_app; then
    fail "tessaly.exe starts again"
    finish
fi
xdotool key Return
if wait_for_file "$app/calendar.pdf" 30 && [ "$(head -c 8 "$app/calendar.pdf")" = "%PDF-1.4" ] &&
    [ ! -e "$app/calendar.html" ]; then
    pass "after a restart Return writes calendar.pdf (and no calendar.html)"
else
    fail "after a restart Return writes calendar.pdf starting with %PDF-1.4, and no calendar.html"
fi
if wait_for_opened calendar.pdf 15; then
    pass "the shell is asked to open calendar.pdf"
else
    fail "the shell is asked to open calendar.pdf"
fi

activate_window
xdotool key alt+F4
wait_for_exit 20 || fail "Alt+F4 ends the program the second time"

# --- a program folder the ANSI code page (Windows-1252 here) cannot name: Return writes
# the calendar beside the program, and nothing goes to the documents folder
app="$work/Łukasz 日本"
mkdir -p "$app"
cp "$gui_exe" "$app/tessaly.exe"
if start_app; then
    xdotool key Return
    if wait_for_file "$app/calendar.pdf" 30 &&
        [ -z "$(find "$HOME" "$WINEPREFIX/drive_c/users" -name 'calendar.*' 2>/dev/null)" ]; then
        pass "in a folder named outside the code page Return writes calendar.pdf beside the program"
    else
        fail "in a folder named outside the code page Return writes calendar.pdf beside the program"
    fi
    activate_window
    xdotool key alt+F4
    wait_for_exit 20 || fail "Alt+F4 ends the program in a folder named outside the code page"
else
    fail "tessaly.exe starts from a folder named outside the code page"
fi

# --- the window and its dialogs, control by control
if [ -n "$window_tests_exe" ]; then
    if timeout -k 5 300 wine "$window_tests_exe" </dev/null >"$work/window-tests.log" 2>&1 &&
        ! grep -q '\[  SKIPPED \]' "$work/window-tests.log"; then
        pass "win32gui_window_tests: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' \
            "$work/window-tests.log")"
    else
        cat "$work/window-tests.log" >&2
        fail "win32gui_window_tests"
    fi
else
    echo "SKIP: win32gui_window_tests (tests/ui/win32 is not part of the build)"
fi
finish
