#!/usr/bin/env bash
# Draws the program icon (a desk telephone) at 48, 32 and 16 pixels and packs
# them into phone.ico. Run by hand after changing the drawing; the .ico is
# committed so builds need no ImageMagick.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 48x48 xc:none \
  -fill '#1f4e79' -stroke '#0b2740' -strokewidth 1 \
  -draw 'roundrectangle 7,21 40,44 5,5' \
  -draw 'roundrectangle 3,6 44,14 4,4' \
  -draw 'roundrectangle 3,6 13,20 3,3' \
  -draw 'roundrectangle 34,6 44,20 3,3' \
  -fill '#ffffff' -stroke none \
  -draw 'rectangle 14,25 18,28' -draw 'rectangle 22,25 26,28' -draw 'rectangle 30,25 34,28' \
  -draw 'rectangle 14,31 18,34' -draw 'rectangle 22,31 26,34' -draw 'rectangle 30,31 34,34' \
  -draw 'rectangle 14,37 18,40' -draw 'rectangle 22,37 26,40' -draw 'rectangle 30,37 34,40' \
  "$tmp/48.png"
convert "$tmp/48.png" -resize 32x32 "$tmp/32.png"
# At 16 pixels the keypad only blurs: handset and body alone.
convert -size 16x16 xc:none -fill '#1f4e79' -stroke none \
  -draw 'roundrectangle 2,7 13,15 2,2' -draw 'roundrectangle 0,1 15,4 1,1' \
  -draw 'rectangle 0,1 3,6' -draw 'rectangle 12,1 15,6' \
  -fill '#ffffff' -draw 'rectangle 5,9 10,9' -draw 'rectangle 5,11 10,11' -draw 'rectangle 5,13 10,13' \
  "$tmp/16.png"
convert "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" phone.ico
