#!/bin/bash
# Draws the installer's two pictures from the program's own artwork (the
# notes stack of the splash picture) on its lined paper:
#   wizard.bmp  164 x 314, the side picture of the first and last page;
#   header.bmp  150 x 57, the corner picture of the other pages.
# Run again after the splash picture changes; the results are committed.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SPLASH="$HERE/../src/res/art/splash.bmp"
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
FONT_REGULAR=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
PAPER='rgb(251,244,223)'
LINE='rgb(214,224,226)'
MARGIN='rgb(228,150,140)'
TEAL='rgb(12,58,66)'
BROWN='rgb(120,90,50)'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The notes stack, cut out of the splash picture.
convert "$SPLASH" -crop 96x86+14+36 +repage -fuzz 2% -transparent "$PAPER" -transparent "$LINE" \
    "$tmp/stack.png"

lines() {  # width height: ruled paper with a red margin
    local w=$1 h=$2 draw="" y
    for ((y = 48; y < h; y += 14)); do draw+="line 0,$y $w,$y "; done
    convert -size "${w}x${h}" "xc:$PAPER" -stroke "$LINE" -draw "$draw" \
        -stroke "$MARGIN" -draw "line 18,0 18,$h" "$tmp/paper-$w.png"
}

lines 164 314
convert "$tmp/paper-164.png" \
    -fill "$TEAL" -draw "rectangle 0,0 164,30" \
    \( "$tmp/stack.png" -resize 112x103 \) -geometry +26+56 -composite \
    -font "$FONT" -pointsize 26 -fill "$TEAL" -gravity north -annotate +4+180 "Velumo" \
    -font "$FONT_REGULAR" -pointsize 12 -fill "$BROWN" -annotate +4+216 "Desktop notes" \
    -gravity northwest -type TrueColor -define bmp:format=bmp3 -compress none "BMP3:$HERE/wizard.bmp"

lines 150 57
convert "$tmp/paper-150.png" \
    \( "$tmp/stack.png" -resize 48x48 \) -geometry +96+4 -composite \
    -type TrueColor -compress none "BMP3:$HERE/header.bmp"
