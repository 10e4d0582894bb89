#!/usr/bin/env bash
# Draws the program's icon (a mint leaf over a page) into src/front/res/texmint.ico.
# The .ico is kept in the repository; run this only to change the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#f4f1e8' -stroke '#5b5b5b' -strokewidth 8 -draw 'roundrectangle 40,24 200,232 18,18' \
  -fill '#3fbf8f' -stroke '#1e7a57' -strokewidth 8 \
  -draw 'translate 146,150 rotate -40 ellipse 0,0 82,36 0,360' \
  -fill none -draw 'translate 146,150 rotate -40 line -100,0 70,0' \
  -fill '#9fe3c6' -stroke none -draw 'translate 146,150 rotate -40 ellipse 20,-16 34,8 0,360' \
  "$tmp/icon.png"
for s in 16 24 32 48 64 256; do convert "$tmp/icon.png" -resize ${s}x${s} "$tmp/icon-$s.png"; done
convert "$tmp"/icon-16.png "$tmp"/icon-24.png "$tmp"/icon-32.png "$tmp"/icon-48.png \
  "$tmp"/icon-64.png "$tmp"/icon-256.png src/front/res/texmint.ico
