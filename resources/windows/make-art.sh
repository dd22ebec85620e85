#!/usr/bin/env bash
# Makes the Windows forms of the shared pictures in ../art with ImageMagick: the
# program icon (16, 32, 48 and 256 pixels in one .ico) and the banner as a 24-bit BMP,
# the form a static control shows. The results are committed, so a build needs no
# ImageMagick; run this again after ../art/render.sh.
set -euo pipefail
cd "$(dirname "$0")"
art=../art

convert "$art/icons/tessaly-16.png" "$art/icons/tessaly-32.png" "$art/icons/tessaly-48.png" \
    "$art/icons/tessaly-256.png" tessaly.ico

# BMP3: the classic header every Windows version reads; no alpha channel.
convert "$art/banner.png" -alpha off -type TrueColor -define bmp:format=bmp3 BMP3:banner.bmp
