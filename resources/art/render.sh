#!/usr/bin/env bash
# Renders the program's pictures from their sources with ImageMagick: the icon in
# every size the desktop asks for, and the banner at the top of the window.
# The PNGs are committed; run this again after changing tessaly.svg.
set -euo pipefail
cd "$(dirname "$0")"
convert="${CONVERT:-convert}"
bold_font="${BOLD_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}"
# No time stamps, so an unchanged picture renders to the same bytes.
png_options=(-strip -define png:exclude-chunks=date,time)

mkdir -p icons
for size in 16 32 48 64 128 256; do
    "$convert" -background none -density 384 tessaly.svg -resize "${size}x${size}" \
        -depth 8 "${png_options[@]}" "PNG32:icons/tessaly-${size}.png"
done

# 368 x 67, 24 bits: the product's name in dark-blue bold letters on white.
"$convert" -size 368x67 xc:white -font "$bold_font" -pointsize 34 -fill '#1a2f80' \
    -gravity West -annotate +18+0 'Tessaly' -depth 8 "${png_options[@]}" PNG24:banner.png
