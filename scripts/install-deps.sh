#!/usr/bin/env bash
# Installs everything Tessaly needs to build, run and test on Debian 12 / Ubuntu.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

packages=(
    # build
    build-essential cmake pkg-config clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    # the Linux desktop program
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the Windows program, cross-built and run under Wine
    mingw-w64 wine wine64 fonts-wine xvfb xdotool
    # outside checks and renders of the calendars
    qpdf poppler-utils ghostscript imagemagick
    # locales the tests read names from
    locales
    # opening files from the command line
    xdg-utils
    # fonts for names outside WinAnsi: chosen by fontconfig, subset by HarfBuzz
    libharfbuzz-dev libfontconfig-dev libfribidi-dev libfreetype-dev
    fonts-liberation2 fonts-dejavu-core fonts-noto-core fonts-noto-cjk
    # events from iCalendar files
    libical-dev
    # fuzzing, and the speed comparison with other programs
    clang libclang-rt-14-dev hyperfine pcal
    # packages: the .deb, the Windows installer, man pages, desktop metadata
    nsis help2man appstream desktop-file-utils lintian bash-completion man-db dpkg-dev file
    # looking at the HTML page in a browser
    chromium
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Test locales: a comma-decimal one, one with lower-case month names, a Cyrillic one,
# and the scripts whose names the PDF draws in an embedded font (Latin beyond
# Windows-1252, Greek, Japanese, and the right-to-left Arabic and Hebrew).
need_locale_gen=0
for locale in de_DE.UTF-8 fr_FR.UTF-8 ru_RU.UTF-8 en_US.UTF-8 \
    sl_SI.UTF-8 pl_PL.UTF-8 tr_TR.UTF-8 el_GR.UTF-8 ja_JP.UTF-8 ar_EG.UTF-8 he_IL.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale%%.*}\.utf-\?8$"; then
        $SUDO sed -i "s/^# *${locale} UTF-8/${locale} UTF-8/" /etc/locale.gen
        need_locale_gen=1
    fi
done
if [ "$need_locale_gen" -eq 1 ]; then
    $SUDO locale-gen
fi
