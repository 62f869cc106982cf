#!/usr/bin/env bash
# Draws the launcher's icon (app/lobbex.ico: 16, 24, 32, 48, 64 and 256 pixels) with ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 256x256 xc:none \
    -fill 'gradient:#2f7df6-#1b4fb8' -draw 'roundrectangle 8,8 247,247 48,48' "$work/base.png" 2>/dev/null ||
convert -size 256x256 gradient:'#3a8bff'-'#1a46a8' \
    \( -size 256x256 xc:none -fill white -draw 'roundrectangle 8,8 247,247 48,48' \) \
    -compose DstIn -composite "$work/base.png"
convert "$work/base.png" \
    -fill white -draw "polygon 88,56 128,56 128,164 188,164 188,200 88,200" \
    -fill '#ffd54a' -draw "circle 184,76 184,96" \
    "$work/icon.png"
convert "$work/icon.png" -define icon:auto-resize=256,64,48,32,24,16 app/lobbex.ico
echo "wrote app/lobbex.ico"
