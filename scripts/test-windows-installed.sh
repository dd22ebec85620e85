# Sourced by scripts/test-windows-gui.sh --packages, in its display and fresh prefix and
# with its helpers: the installed copy, from the silent installation to the silent
# removal. Needs $setup, $portable and $version.

program_files="$WINEPREFIX/drive_c/Program Files/Tessaly"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessaly.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'

# Value $2 of registry key $1 (64-bit view), without its type.
registry_value() {
    timeout -k 5 30 wine reg query "$1" /v "$2" /reg:64 </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

# --- silent installation
if timeout -k 10 120 wine "$setup" /S </dev/null >>"$work/install.log" 2>&1; then
    pass "the installer runs silently (/S)"
else
    fail "the installer runs silently (/S)"
    finish
fi
missing=""
for file in tessaly.exe tessaly-cli.exe uninstall.exe; do
    [ -f "$program_files/$file" ] || missing+=" $file"
done
if [ -z "$missing" ]; then
    pass "tessaly.exe, tessaly-cli.exe and uninstall.exe are in C:\\Program Files\\Tessaly"
else
    fail "missing from C:\\Program Files\\Tessaly:$missing"
fi
cli_version="$(timeout -k 5 60 wine "C:\\Program Files\\Tessaly\\tessaly-cli.exe" --version \
    </dev/null 2>/dev/null | tr -d '\r')"
if [ "$cli_version" = "tessaly-cli $version" ]; then
    pass "the installed tessaly-cli.exe is version $version, as the installer's name says"
else
    fail "the installed tessaly-cli.exe says '$cli_version', not 'tessaly-cli $version'"
fi
# Events with the installed program, which carries the iCalendar reader and libical's
# zone data: the weekly meeting of the fixtures, in Berlin time.
mkdir -p "$work/events"
cells="$(printf '1\t%b\n' '8\t14:00 Team meeting (moved)' '21\t09:30 Team meeting' \
    '28\t09:30 Team meeting')"
if TZ=Europe/Berlin timeout -k 5 60 wine "C:\\Program Files\\Tessaly\\tessaly-cli.exe" \
    --month 12 --year 2026 --events "$(winepath -w "$PWD/tests/fixtures/ics/weekly-meeting.ics")" \
    -o "$(winepath -w "$work/events/events.html")" </dev/null >/dev/null 2>"$work/events.log" &&
    [ "$(python3 tests/cli/html_outline.py "$work/events/events.html" | tail -n +3)" = \
        "$cells" ]; then
    pass "the installed tessaly-cli.exe puts the events of an .ics file under their days"
else
    cat "$work/events.log" >&2
    fail "the installed tessaly-cli.exe puts the events of an .ics file under their days"
fi
if [ -f "$shortcut" ]; then
    pass "the Start-menu shortcut Tessaly.lnk is there"
else
    fail "the Start-menu shortcut Tessaly.lnk is there"
fi
while read -r name expected; do
    actual="$(registry_value "$uninstall_key" "$name")"
    if [ "$actual" = "$expected" ]; then
        pass "uninstall key: $name = $expected"
    else
        fail "uninstall key: $name is '$actual', not '$expected'"
    fi
done <<VALUES
DisplayName Tessaly
DisplayVersion $version
Publisher Orvanta
DisplayIcon C:\\Program Files\\Tessaly\\tessaly.exe
UninstallString "C:\\Program Files\\Tessaly\\uninstall.exe"
VALUES

# --- the portable zip: one folder with the installed programs and a readme
mkdir -p "$work/portable"
unpacked="$work/portable/tessaly-$version"
files="$(cd "$work/portable" && cmake -E tar xf "$portable" && find . -type f | sort | xargs)"
expected="$(printf "./tessaly-$version/%s\n" README.txt tessaly-cli.exe tessaly.exe | xargs)"
if [ "$files" = "$expected" ] &&
    cmp -s "$unpacked/tessaly.exe" "$program_files/tessaly.exe" &&
    cmp -s "$unpacked/tessaly-cli.exe" "$program_files/tessaly-cli.exe"; then
    pass "the portable zip holds tessaly-$version\\ with the installed programs and README.txt"
else
    fail "the portable zip holds tessaly-$version\\ with the installed programs and README.txt"
fi

# --- the installed program, started from its shortcut, as a user would
# A user cannot write into Program Files; Wine does not keep anyone out, but the folder's
# Unix permissions do, for as long as the session runs without the superuser's power to
# ignore them (test-windows-gui.sh drops it when started by root).
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
documents_windows="$(registry_value "$shell_folders" Personal)"
documents="$(winepath -u "$documents_windows" 2>/dev/null)"
if [ -z "$documents_windows" ] || [ ! -d "$documents" ]; then
    fail "the prefix has a documents folder ('$documents_windows')"
    finish
fi
chmod a-w "$program_files"
app="$HOME"
start_command=(wine start /wait /unix "$shortcut")
if ! start_app; then
    fail "the Start-menu shortcut starts tessaly.exe"
    finish
fi
pass "the Start-menu shortcut starts tessaly.exe"
xdotool key Return
if wait_for_file "$documents/calendar.html" 30 && [ ! -e "$program_files/calendar.html" ]; then
    pass "Return writes calendar.html into the documents folder, as Program Files is closed to it"
else
    fail "Return writes calendar.html into the documents folder ($documents_windows)"
fi
if wait_for_opened 'Documents\calendar.html' 15; then
    pass "the shell is asked to open Documents\\calendar.html"
else
    fail "the shell is asked to open Documents\\calendar.html"
fi
tick_pdf_box "the installed program stores its settings (PDF = 1)"
xdotool key alt+F4
wait_for_exit 20 || fail "Alt+F4 ends the installed program"
# The uninstaller runs as an administrator, who may write there.
chmod u+w "$program_files"

# --- silent removal. The uninstaller hands over to a copy of itself and returns at once;
# the session's end says the copy is done.
if timeout -k 10 120 wine "C:\\Program Files\\Tessaly\\uninstall.exe" /S \
    </dev/null >>"$work/install.log" 2>&1 && timeout -k 10 120 wineserver -w; then
    pass "the uninstaller runs silently (/S)"
else
    fail "the uninstaller runs silently (/S)"
fi
if [ ! -e "$program_files" ] && [ ! -e "$shortcut" ]; then
    pass "the program's folder and the shortcut are gone"
else
    fail "the program's folder and the shortcut are gone"
fi
if ! timeout -k 5 30 wine reg query "$uninstall_key" /reg:64 </dev/null >/dev/null 2>&1; then
    pass "the uninstall key is gone"
else
    fail "the uninstall key is gone"
fi
if [ "$(stored_value PDF)" = "REG_SZ 1" ] && [ -s "$documents/calendar.html" ]; then
    pass "the settings and the calendar stay after the removal"
else
    fail "the settings and the calendar stay after the removal"
fi
