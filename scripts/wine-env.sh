# Sourced (bash): puts Wine into the project's own prefix, quiet, and makes that
# prefix once. Without WINEPREFIX Wine would create and use ~/.wine.
#
#   . scripts/wine-env.sh

tessaly_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TESSALY_WINEPREFIX:-$tessaly_root/build/wineprefix}"
export WINEDEBUG=-all
# No Mono or Gecko installers (they would ask on screen, and nothing here needs them),
# and no menu entries written into the host's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# tessaly_wine_start: a server of the prefix's own, and Wine's services, started here,
# away from the output of what runs next: started by a test, they would hold ctest's
# pipe open and it would wait for good. A server left from before is stopped first.
tessaly_wine_start() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1
    timeout -k 10 120 wine cmd /c exit </dev/null >/dev/null 2>&1
}
# tessaly_wine_stop: the prefix's server and every program of it stopped.
tessaly_wine_stop() {
    timeout -k 5 30 wineserver -k >/dev/null 2>&1 || true
}

tessaly_make_wineprefix() {
    # -2: with the bitmap window font; -3: with the faces for names outside Windows-1252;
    # -4: with a CJK face; -5: with regular faces for event lines; -6: with a Thai face
    local ready="$WINEPREFIX/.tessaly-ready-6"
    [ -e "$ready" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")" || return 1
    (
        # Parallel test runs may all arrive here at once: one makes the prefix.
        flock 9 || exit 1
        [ -e "$ready" ] && exit 0
        # A prefix without the mark is a half-made one from an interrupted run.
        rm -rf -- "$WINEPREFIX"
        echo "wine-env: creating $WINEPREFIX" >&2
        timeout -k 10 300 wineboot --init \
            </dev/null >/dev/null 2>&1 || exit 1
        timeout -k 10 120 wineserver -w || exit 1
        # Wine does not install its own fonts into a new prefix. The window's "MS Sans
        # Serif" is the bitmap face in sserife.fon: Wine 8 does not load ms_sans_serif.ttf.
        local font
        for font in tahoma.ttf tahomabd.ttf marlett.ttf ms_sans_serif.ttf sserife.fon; do
            cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/" || exit 1
        done
        # Sans-serif TrueType faces for the PDF's embedded texts, bold for the names and
        # regular for event lines: Latin, Greek, Cyrillic and Hebrew in Liberation Sans,
        # Arabic in DejaVu Sans, Thai in Noto Sans Thai (Windows' Tahoma draws it, Wine's
        # does not); Japanese (and Chinese and Korean) in WenQuanYi Micro Hei,
        # TrueType outlines in a collection, as Windows' own Japanese faces come (Debian's
        # Noto CJK faces have CFF ones; scripts/install-deps.sh takes this one out of its
        # package).
        for font in /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf \
            /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf \
            /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
            /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
            /usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf \
            /usr/share/fonts/truetype/noto/NotoSansThai-Bold.ttf \
            "$tessaly_root/build/cache/fonts/wqy-microhei.ttc"; do
            if ! cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; then
                echo "wine-env: $font is missing (scripts/install-deps.sh brings it)" >&2
                exit 1
            fi
        done
        touch "$ready"
    ) 9>"$WINEPREFIX.lock"
}

if ! tessaly_make_wineprefix; then
    echo "wine-env: could not create the Wine prefix $WINEPREFIX" >&2
    return 1
fi
