#!/usr/bin/env bash
# Redraws the banner and the program icon with ImageMagick 6. The results are kept in
# the repository, so a build does not need ImageMagick; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"

# Banner: 368 x 67, 24 bits per pixel, no alpha (the static control shows it as is).
convert -size 368x67 xc:white \
    -font Liberation-Sans-Bold -pointsize 42 -fill '#1b2f7a' \
    -gravity west -annotate +18+0 'Tessaly' \
    -alpha off -type TrueColor -define bmp:format=bmp3 BMP3:banner.bmp

# Icon: a calendar page (blue header with two rings, grid of days, one day marked),
# drawn on a 16-unit grid and scaled per size, so every size stays sharp.
page() {
    local size=$1 aa=$2
    local u
    u=$(awk -v s="$size" 'BEGIN { printf "%.4f", s / 16 }')
    # x0 y0 x1 y1 in grid units -> pixels
    px() { awk -v u="$u" -v a="$1" -v b="$2" -v c="$3" -v d="$4" \
        'BEGIN { printf "%.2f,%.2f %.2f,%.2f", a*u, b*u, c*u - 1, d*u - 1 }'; }
    local draw=(
        -fill white -stroke '#30385a' -strokewidth "$(awk -v u="$u" 'BEGIN { print (u < 2 ? 1 : u / 2) }')"
        -draw "rectangle $(px 1 2 15 15)"
        -stroke none -fill '#1b2f7a' -draw "rectangle $(px 1 2 15 6)"
        -fill '#c0c0c0' -draw "rectangle $(px 4 1 5 4)" -draw "rectangle $(px 11 1 12 4)"
        -fill '#8a90a8'
    )
    local row col
    for row in 0 1 2; do
        for col in 0 1 2 3; do
            local x=$((3 + col * 3)) y=$((8 + row * 2))
            if [ "$row" = 1 ] && [ "$col" = 2 ]; then
                draw+=(-fill '#d02020' -draw "rectangle $(px "$x" "$y" $((x + 2)) $((y + 1)))" -fill '#8a90a8')
            else
                draw+=(-draw "rectangle $(px "$x" "$y" $((x + 2)) $((y + 1)))")
            fi
        done
    done
    convert -size "${size}x${size}" xc:none "$aa" "${draw[@]}" "png32:page-$size.png"
}
page 16 +antialias
page 32 +antialias
page 48 -antialias
page 256 -antialias
convert page-16.png page-32.png page-48.png page-256.png tessaly.ico
rm -f page-16.png page-32.png page-48.png page-256.png
