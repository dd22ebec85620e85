#!/usr/bin/env bash
# Installs everything Tessaly needs to build, run and test on Debian 12 / Ubuntu.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

packages=(
    # build
    build-essential cmake pkg-config clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    # the Linux desktop program
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the Windows program, cross-built and run under Wine
    mingw-w64 wine wine64 fonts-wine xvfb xdotool
    # outside checks and renders of the calendars; a second reader of their text
    qpdf poppler-utils ghostscript imagemagick mupdf-tools
    # locales the tests read names from
    locales
    # opening files from the command line
    xdg-utils
    # fonts for names outside WinAnsi: chosen by fontconfig, subset by HarfBuzz
    libharfbuzz-dev libfontconfig-dev libfribidi-dev libfreetype-dev
    fonts-liberation2 fonts-dejavu-core fonts-noto-core fonts-noto-cjk
    # events from iCalendar files
    libical-dev
    # a locale's calendar conventions (--regional)
    libicu-dev
    # fuzzing, and the speed comparison with other programs
    clang libclang-rt-14-dev hyperfine pcal
    # the terminal calendar that the text output is compared with
    ncal
    # packages: the .deb, the Windows installer, man pages, desktop metadata
    nsis help2man appstream desktop-file-utils lintian bash-completion man-db dpkg-dev file
    # looking at the HTML page in a browser
    chromium
)

# Source packages from the mirrors the binary ones come from, in a file of their own:
# the Windows build cross-compiles Debian's libical3 from its source (apt-get source, in
# cmake/libical-mingw.cmake). Each enabled "deb" entry gets its "deb-src" twin.
deb_src=/etc/apt/sources.list.d/tessaly-deb-src
need_update=0
if [ ! -e "$deb_src.sources" ] && [ ! -e "$deb_src.list" ] &&
    ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
    deb822="$(for file in /etc/apt/sources.list.d/*.sources; do
        [ ! -f "$file" ] || awk 'BEGIN { RS = ""; ORS = "\n\n" }
            /(^|\n)Types:[^\n]*[[:space:]]deb([[:space:]]|$)/ &&
            !/(^|\n)Enabled:[[:space:]]*no/ {
                gsub(/(^|\n)#[^\n]*/, "")
                sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src")
                sub(/^\n/, "")
                print
            }' "$file"
    done)"
    one_line="$(for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ ! -f "$file" ] || sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file"
    done)"
    [ -z "$deb822" ] || printf '%s\n' "$deb822" | tessaly_sudo tee "$deb_src.sources" >/dev/null
    [ -z "$one_line" ] || printf '%s\n' "$one_line" | tessaly_sudo tee "$deb_src.list" >/dev/null
    need_update=1
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" -eq 1 ]; then
    tessaly_sudo apt-get update
fi
if [ "${#missing[@]}" -gt 0 ]; then
    tessaly_sudo env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A CJK face with TrueType outlines, in a collection as Windows' own Japanese faces come,
# for the Windows program's test prefix (scripts/wine-env.sh): WenQuanYi Micro Hei, taken
# out of its package into the build folder. Not installed: its fontconfig rules would put
# it before Noto Sans CJK for Japanese on Linux.
cjk_face="$(cd "$(dirname "$0")/.." && pwd)/build/cache/fonts/wqy-microhei.ttc"
if [ ! -s "$cjk_face" ]; then
    fetched="$(mktemp -d)"
    (cd "$fetched" && apt-get download fonts-wqy-microhei >/dev/null) &&
        mkdir -p "$(dirname "$cjk_face")" &&
        dpkg-deb --fsys-tarfile "$fetched"/fonts-wqy-microhei_*.deb |
        tar -xO ./usr/share/fonts/truetype/wqy/wqy-microhei.ttc >"$cjk_face.part" &&
        mv "$cjk_face.part" "$cjk_face"
    rm -rf "$fetched" "$cjk_face.part"
fi

# Test locales: a comma-decimal one, one with lower-case month names, a Cyrillic one,
# and the scripts whose names the PDF draws in an embedded font (Latin beyond
# Windows-1252, Greek, Japanese, the right-to-left Arabic, Hebrew and Persian, whose
# names hold ZERO WIDTH NON-JOINER, and Thai, whose names place marks).
test_locales=(de_DE.UTF-8 fr_FR.UTF-8 ru_RU.UTF-8 en_US.UTF-8
    sl_SI.UTF-8 pl_PL.UTF-8 tr_TR.UTF-8 el_GR.UTF-8 ja_JP.UTF-8 ar_EG.UTF-8 he_IL.UTF-8
    fa_IR.UTF-8 th_TH.UTF-8)
need_locale_gen=0
for locale in "${test_locales[@]}"; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale%%.*}\.utf-\?8$"; then
        # Debian offers some only without their codeset ("# fa_IR UTF-8"): those get a
        # line of their own, so that the name with ".UTF-8" loads.
        if grep -q "^# *${locale} UTF-8" /etc/locale.gen; then
            tessaly_sudo sed -i "s/^# *${locale} UTF-8/${locale} UTF-8/" /etc/locale.gen
        else
            echo "${locale} UTF-8" | tessaly_sudo tee -a /etc/locale.gen >/dev/null
        fi
        need_locale_gen=1
    fi
done
if [ "$need_locale_gen" -eq 1 ]; then
    tessaly_sudo locale-gen
fi

# Self-check: every outside tool and file that the build and test scripts use, with the
# package that brings it, so a missing one is named here rather than deep in a test.
problems=()
need_command() {  # command package
    command -v "$1" >/dev/null 2>&1 || problems+=("command '$1' (package $2)")
}
need_file() {  # path package
    [ -e "$1" ] || problems+=("file $1 (package $2)")
}
need_command cmake cmake
need_command g++ g++
need_command clang-format clang-format
need_command clang++ clang
need_file /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
need_command pkg-config pkg-config
for tool in gcc-posix g++-posix windres; do
    need_command "x86_64-w64-mingw32-$tool" mingw-w64
done
for tool in wine wineboot wineserver winepath; do
    need_command "$tool" wine
done
need_file /usr/lib/wine/wine64 wine64
need_command Xvfb xvfb
need_command xvfb-run xvfb
need_command xdotool xdotool
need_command qpdf qpdf
need_command pdftotext poppler-utils
need_command pdftoppm poppler-utils
need_command gs ghostscript
need_command ncal ncal
need_command mutool mupdf-tools
need_command import imagemagick
need_command xdg-open xdg-utils
need_file /usr/src/googletest/CMakeLists.txt googletest
need_file /usr/include/benchmark/benchmark.h libbenchmark-dev
need_file /usr/lib/x86_64-linux-gnu/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake qt6-base-dev
for font in tahoma.ttf tahomabd.ttf marlett.ttf ms_sans_serif.ttf sserife.fon; do
    need_file "/usr/share/wine/fonts/$font" fonts-wine
done
need_file /usr/include/harfbuzz/hb-subset.h libharfbuzz-dev
need_file /usr/include/fribidi/fribidi.h libfribidi-dev
need_file /usr/include/fontconfig/fontconfig.h libfontconfig-dev
need_file /usr/include/unicode/ucal.h libicu-dev
need_file /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf fonts-liberation2
need_file /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf fonts-dejavu-core
need_file /usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc fonts-noto-cjk
need_file /usr/share/fonts/truetype/noto/NotoSansThai-Bold.ttf fonts-noto-core
need_file "$cjk_face" "fonts-wqy-microhei, taken out by apt-get download"
for locale in "${test_locales[@]}"; do
    locale -a 2>/dev/null | grep -qi "^${locale%%.*}\.utf-\?8$" ||
        problems+=("locale $locale (package locales, then locale-gen)")
done
if [ "${#problems[@]}" -gt 0 ]; then
    echo "install-deps: still missing after installing:" >&2
    printf '  %s\n' "${problems[@]}" >&2
    exit 1
fi
