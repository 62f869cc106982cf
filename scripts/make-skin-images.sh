#!/usr/bin/env bash
# Draws the images of the skins under res/ with ImageMagick. The results are committed; run
# this again after changing a colour or a shape here.
set -euo pipefail
cd "$(dirname "$0")/.."
convert=/usr/bin/convert  # ImageMagick's own, not a stand-in earlier on the PATH
box=res/Lobbex/MessageBox
mkdir -p "$box"

# Colour skins: large backgrounds whose top-left part shows behind the windows' title bands.
# Each is a diagonal gradient with a few soft light circles.
colour_skin() {
    local number=$1 from=$2 to=$3
    mkdir -p "res/Lobbex/ColorSkin/$number"
    "$convert" -size 1000x750 -define gradient:angle=120 "gradient:$from-$to" \
        -fill 'rgba(255,255,255,0.07)' -draw 'circle 860,-40 860,260' \
        -fill 'rgba(255,255,255,0.05)' -draw 'circle 120,700 120,980' \
        -fill 'rgba(255,255,255,0.06)' -draw 'circle 330,20 330,120' \
        -quality 92 "res/Lobbex/ColorSkin/$number/bkg.jpg"
}
colour_skin 0 '#1E5FD8' '#3FA3F5'
colour_skin 1 '#5B2DA8' '#A05BE6'
colour_skin 2 '#0E8A6E' '#33C48C'
colour_skin 3 '#D2572B' '#F0A040'

# The box's own title band when no colour skin is chosen: a calm slate blue.
"$convert" -size 600x80 -define gradient:angle=120 'gradient:#2B3A55-#3F5A85' -quality 92 "$box/title.jpg"

# Buttons, nine-grid with 6-pixel corners: white, light blue on hover, deeper when pressed.
button() {
    local name=$1 fill=$2 stroke=$3
    "$convert" -size 40x32 xc:none -fill "$fill" -stroke "$stroke" -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 39.5,31.5 5,5' "PNG32:$box/$name.png"
}
button button_normal '#FFFFFF' '#C8D1DC'
button button_hot '#EDF5FF' '#3A86EE'
button button_pushed '#D9E9FF' '#2468C8'
button button_disabled '#F3F5F7' '#DDE2E8'

# The close button: a thin white cross, on a light veil when hovered or pressed.
close_button() {
    local name=$1 veil=$2
    "$convert" -size 32x32 xc:none -fill "$veil" -stroke none -draw 'roundrectangle 3,3 28,28 5,5' \
        -stroke white -strokewidth 1.7 -draw 'line 11,11 20,20' -draw 'line 20,11 11,20' "PNG32:$box/$name.png"
}
close_button close_normal 'rgba(255,255,255,0)'
close_button close_hot 'rgba(255,255,255,0.22)'
close_button close_pushed 'rgba(0,0,0,0.18)'

# The icon beside the text: an information mark in a soft circle.
"$convert" -size 40x40 xc:none -fill '#E8F1FE' -draw 'circle 20,20 20,1' \
    -fill '#2F7BE8' -draw 'circle 20,20 20,5' \
    -fill white -draw 'circle 20,12.5 20,10.3' -draw 'roundrectangle 18.2,16.5 21.8,29 1.5,1.5' "PNG32:$box/icon.png"
echo "make-skin-images: done"
