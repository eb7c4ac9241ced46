#!/usr/bin/env bash
# Draws the program's icon, the styled button's colours around an HTML tag, at the sizes the
# desktop asks for: vorn-16.png to vorn-256.png beside this script. Needs ImageMagick and the
# DejaVu fonts; the PNGs are kept in the tree, so building never needs either.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 256x256 xc:none \
  \( -size 232x232 gradient:'rgb(255,243,206)-rgb(231,150,0)' \) -geometry +12+12 -composite \
  \( -size 208x208 gradient:'rgb(255,255,255)-rgb(239,235,231)' \) -geometry +24+24 -composite \
  \( -size 256x256 xc:black -fill white -draw 'roundrectangle 5,5 250,250 38,38' \) \
  -alpha off -compose CopyOpacity -composite -compose over \
  -fill none -stroke 'rgb(0,60,115)' -strokewidth 10 -draw 'roundrectangle 7,7 248,248 36,36' \
  -fill 'rgb(0,60,115)' -stroke none -font DejaVu-Sans-Bold -pointsize 92 -gravity center \
  -annotate +0+4 '</>' -depth 8 vorn-256.png
for size in 16 32 48 64 128; do
  convert vorn-256.png -resize ${size}x${size} -depth 8 vorn-${size}.png
done
