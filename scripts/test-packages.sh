#!/usr/bin/env bash
# Tests the packages scripts/package.sh put into dist/, as users get them:
#  - the .deb: lintian finds no errors; no file holds a path into the build folders;
#    apt-get installs it; the programs, man pages,
#    completion, menu entry and metainfo work; apt-get purge leaves nothing in /usr;
#  - the Windows installer and portable zip: scripts/test-windows-gui.sh --packages.
# Installs and removes the package system-wide (as root, or through sudo), so it
# refuses to run while a tessaly package is installed already.
#
# Prints "N passed, N failed" last; exits non-zero when a check fails.
set -uo pipefail
cd "$(dirname "$0")/.."

. scripts/lib.sh

apt_get() {
    tessaly_sudo env DEBIAN_FRONTEND=noninteractive \
        apt-get -y -o DPkg::Lock::Timeout=300 "$@" >>"$work/apt.log" 2>&1
}

debs=(dist/tessaly_*_amd64.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "dist/ holds one tessaly_<version>_amd64.deb (scripts/package.sh makes it)"
    finish
fi
deb="${debs[0]}"
version="$(dpkg-deb -f "$deb" Version)"

tessaly_tempdir work /tmp/tessaly-package-test.XXXXXX
installed=0
tessaly_at_exit '[ "$installed" -eq 0 ] || apt_get purge tessaly'

# --- the package as a file
if lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1; then
    pass "lintian finds no errors in $deb"
else
    fail "lintian finds no errors in $deb"
fi
grep -E '^[EW]:' "$work/lintian.log"

# A path into the build folders would be where a program looks for its own code: no
# packaged file may hold one (strings of each, binaries included).
dpkg-deb -x "$deb" "$work/unpacked"
builds="$PWD/build/"
holding="$(find "$work/unpacked" -type f -exec sh -c \
    'strings -a "$2" | grep -qF -- "$1" && echo "${2#"$3"}"' _ "$builds" {} "$work/unpacked" \;)"
if [ -z "$holding" ]; then
    pass "no packaged file holds the path of the build folders ($builds)"
else
    fail "packaged files hold the path of the build folders ($builds): $(tr "\n" " " <<<"$holding")"
fi

if dpkg-query -W -f='${Status}' tessaly 2>/dev/null | grep -q "install ok installed"; then
    fail "no tessaly package is installed before the test (apt-get purge tessaly)"
    finish
fi
find /usr -path '*tessaly*' 2>/dev/null | sort >"$work/before.txt"

# --- installed
if apt_get install "./$deb"; then
    installed=1
    pass "apt-get install ./$deb"
else
    cat "$work/apt.log" >&2
    fail "apt-get install ./$deb"
    finish
fi

if [ "$(command -v tessaly-cli)" = /usr/bin/tessaly-cli ] &&
    [ "$(tessaly-cli --version)" = "tessaly-cli $version" ]; then
    pass "tessaly-cli --version says $version"
else
    fail "tessaly-cli --version says $version"
fi

mkdir -p "$work/out"
# A UTF-8 locale's names are read by tessaly-cli itself; a locale in another encoding (C)
# is handed to the installed tessaly-cli-full.
for option in "" --pdf "--pdf --locale C.UTF-8" "--pdf --paper a4 --locale C"; do
    name="calendar.html"
    [ -n "$option" ] && name="calendar.pdf"
    # shellcheck disable=SC2086 # the options are words without blanks
    printed="$(cd "$work" && tessaly-cli --month 2 --year 2027 $option --output out)"
    if [ "$printed" = "$work/out/$name" ] && [ -s "$work/out/$name" ]; then
        pass "tessaly-cli writes $name and prints its path"
    else
        fail "tessaly-cli writes $name and prints its path (printed '$printed')"
    fi
done

# The desktop program starts (its libraries and Qt's platform plugins are there) and
# keeps running until it is stopped; its settings go into the test's own home.
HOME="$work/home" XDG_CONFIG_HOME="" QT_QPA_PLATFORM=offscreen timeout 5 tessaly \
    >"$work/tessaly.log" 2>&1
if [ $? -eq 124 ]; then
    pass "tessaly starts and runs"
else
    cat "$work/tessaly.log" >&2
    fail "tessaly starts and runs"
fi

# Each page is found, and says what it must: every option --help lists, and more.
for page in tessaly-cli tessaly; do
    if [ "$(man -w "$page" 2>/dev/null)" = "/usr/share/man/man1/$page.1.gz" ]; then
        pass "man -w $page"
    else
        fail "man -w $page"
    fi
done
cli_page="$(LC_ALL=C MANWIDTH=200 man -P cat tessaly-cli 2>/dev/null)"
gui_page="$(LC_ALL=C MANWIDTH=200 man -P cat tessaly 2>/dev/null)"
missing=""
for word in $(tessaly-cli --help | grep -o '^  --[a-z-]*') "EXIT STATUS" SOURCE_DATE_EPOCH \
    FILES Tessaly.conf; do
    grep -qF -- "$word" <<<"$cli_page" || missing+=" '$word'"
done
for word in calendar.html calendar.pdf Tessaly.conf 'HKEY_CURRENT_USER\Software\Orvanta\Tessaly'; do
    grep -qF -- "$word" <<<"$gui_page" || missing+=" '$word' (tessaly(1))"
done
if [ -z "$missing" ]; then
    pass "the man pages cover every option, exit statuses, SOURCE_DATE_EPOCH, files, settings"
else
    fail "missing from the man pages:$missing"
fi

if desktop-file-validate /usr/share/applications/tessaly.desktop &&
    [ -f /usr/share/icons/hicolor/48x48/apps/tessaly.png ] &&
    [ -f /usr/share/icons/hicolor/scalable/apps/tessaly.svg ]; then
    pass "the menu entry validates, and its icon is in the hicolor theme"
else
    fail "the menu entry validates, and its icon is in the hicolor theme"
fi
# --no-net: the web address is a reserved example domain, and CI has no network.
if appstreamcli validate --no-net /usr/share/metainfo/example.orvanta.tessaly.metainfo.xml; then
    pass "the AppStream metainfo validates"
else
    fail "the AppStream metainfo validates"
fi

# Tab completion: what bash offers for the last word of each command line.
completions() {
    bash --norc -c '
        . /usr/share/bash-completion/bash_completion
        _completion_loader tessaly-cli
        COMP_LINE="$1"
        COMP_POINT=${#COMP_LINE}
        read -ra COMP_WORDS <<<"$COMP_LINE"
        [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        $(complete -p tessaly-cli | sed "s/.* -F \([^ ]*\) .*/\1/") tessaly-cli
        printf "%s\n" "${COMPREPLY[@]}" | sort -u | tr "\n" " "' _ "$1"
}
all_options="$(tessaly-cli --help | grep -o '^  -[a-z-]*' | sort -u | tr -d ' ' | tr '\n' ' ')"
while IFS='|' read -r line expected; do
    actual="$(completions "$line")"
    if [ "$actual" = "$expected" ]; then
        pass "completion of '$line' offers: $expected"
    else
        fail "completion of '$line' offers '$actual', not '$expected'"
    fi
done <<LINES
tessaly-cli |$all_options
tessaly-cli --pdf --w|--week-numbers --week-start --weekend 
tessaly-cli --week-start |friday monday saturday sunday thursday tuesday wednesday 
tessaly-cli --weekend friday,s|friday,saturday friday,sunday 
tessaly-cli --month 1|1 10 11 12 
tessaly-cli --months 2|2 20 21 22 23 24 
tessaly-cli --pdf --paper |a4 letter 
tessaly-cli --layout |month year 
tessaly-cli --format |html pdf text 
tessaly-cli --year 21|2100 
tessaly-cli --output /us|/usr 
LINES

# --- removed
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' >"$work/files.txt"
if apt_get purge tessaly; then
    installed=0
    pass "apt-get purge tessaly"
else
    cat "$work/apt.log" >&2
    fail "apt-get purge tessaly"
fi
left="$(while read -r file; do [ -e "$file" ] && echo "$file"; done <"$work/files.txt")"
find /usr -path '*tessaly*' 2>/dev/null | sort >"$work/after.txt"
if [ -z "$left" ] && cmp -s "$work/before.txt" "$work/after.txt"; then
    pass "nothing of the package is left in /usr"
else
    fail "left in /usr: $left $(comm -13 "$work/before.txt" "$work/after.txt" | tr '\n' ' ')"
fi

# --- the Windows installer and portable zip
if scripts/test-windows-gui.sh --packages dist; then
    pass "the Windows installer and portable zip (test-windows-gui.sh --packages)"
else
    fail "the Windows installer and portable zip (test-windows-gui.sh --packages)"
fi
finish
