#!/usr/bin/env bash
# Draws the images of the launcher's main skin (LobbexUpdate/) with ImageMagick. The results
# are committed; run this again after changing a colour or a shape here. The placeholder art
# carries Chinese text, drawn with WenQuanYi Micro Hei (Debian's fonts-wqy-microhei).
#
# Colours follow the message box: slate blue bands, white panels, blue #2F7BE8 for actions,
# #2B2F36 text, #D5DCE6 frames.
set -euo pipefail
cd "$(dirname "$0")/.."
convert=/usr/bin/convert  # ImageMagick's own, not a stand-in earlier on the PATH
out=LobbexUpdate
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$cjk" ] || { echo "make-main-skin-images: $cjk is missing (scripts/install-deps.sh)" >&2; exit 1; }
mkdir -p "$out"
png() { echo "PNG32:$out/$1.png"; }

# The built-in background when the player chose no colour skin: as large as the colour skins
# (1000x750, drawn with corner='1000,750,1,1') in the slate blue of the message box.
"$convert" -size 1000x750 -define gradient:angle=120 'gradient:#24324D-#41608F' \
    -fill 'rgba(255,255,255,0.06)' -draw 'circle 860,-40 860,260' \
    -fill 'rgba(255,255,255,0.04)' -draw 'circle 120,700 120,980' \
    -fill 'rgba(255,255,255,0.05)' -draw 'circle 330,20 330,120' \
    -quality 92 "$out/bkg.jpg"

# The logo: a blue rounded tile with a white "L" and a spark.
"$convert" -size 28x28 xc:none \
    \( -size 28x28 -define gradient:angle=135 'gradient:#5CB8FF-#2F6FE0' -alpha set \
       \( -size 28x28 xc:none -fill white -draw 'roundrectangle 0,0 27,27 7,7' \) \
       -compose DstIn -composite \) -compose Over -composite \
    -fill white -draw 'roundrectangle 8,6 12.5,21 1.5,1.5' -draw 'roundrectangle 8,16.5 20,21 1.5,1.5' \
    -fill '#FFD75E' -draw 'circle 20,9 20,6.4' \
    "$(png logo)"

# Window buttons (32x32): thin white glyphs; a light veil on hover, red behind the close cross.
window_button() {
    local name=$1 veil=$2
    shift 2
    "$convert" -size 32x32 xc:none -fill "$veil" -stroke none -draw 'roundrectangle 2,2 29,29 5,5' \
        -stroke white -strokewidth 1.6 -fill none "$@" "$(png "$name")"
}
minimise=(-draw 'line 10.5,16.5 21.5,16.5')
cross=(-draw 'line 11,11 21,21' -draw 'line 21,11 11,21')
window_button sys_min_normal 'rgba(255,255,255,0)' "${minimise[@]}"
window_button sys_min_hot 'rgba(255,255,255,0.20)' "${minimise[@]}"
window_button sys_min_pushed 'rgba(0,0,0,0.18)' "${minimise[@]}"
window_button sys_close_normal 'rgba(255,255,255,0)' "${cross[@]}"
window_button sys_close_hot '#E5484D' "${cross[@]}"
window_button sys_close_pushed '#C23A3F' "${cross[@]}"

# Veils behind the text links of the title band, nine-grid with 4-pixel corners.
"$convert" -size 16x16 xc:none -fill 'rgba(255,255,255,0.16)' -draw 'roundrectangle 0,0 15,15 4,4' "$(png link_hot)"
"$convert" -size 16x16 xc:none -fill 'rgba(0,0,0,0.16)' -draw 'roundrectangle 0,0 15,15 4,4' "$(png link_pushed)"

# White panels with a soft frame, nine-grid with 10-pixel corners.
"$convert" -size 40x40 xc:none -fill white -stroke 'rgba(20,40,80,0.18)' -strokewidth 1 \
    -draw 'roundrectangle 0.5,0.5 39.5,39.5 8,8' "$(png card)"

# Input frames, nine-grid with 5-pixel corners: grey frame, blue when hovered.
input_frame() {
    "$convert" -size 40x40 xc:none -fill white -stroke "$2" -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 39.5,39.5 4,4' "$(png "$1")"
}
input_frame input_normal '#D5DCE6'
input_frame input_hot '#3A86EE'

# Field icons (20x20, grey): a person and a padlock.
"$convert" -size 20x20 xc:none -fill '#A3ADBA' -draw 'circle 10,6.5 10,2.6' \
    -draw 'path "M 3,18 C 3,11 17,11 17,18 Z"' "$(png icon_user)"
"$convert" -size 20x20 xc:none -fill none -stroke '#A3ADBA' -strokewidth 1.8 \
    -draw 'path "M 6.5,9 L 6.5,6.5 C 6.5,2 13.5,2 13.5,6.5 L 13.5,9"' \
    -stroke none -fill '#A3ADBA' -draw 'roundrectangle 3.5,8.5 16.5,18 2,2' \
    -fill white -draw 'circle 10,12.6 10,11.2' -draw 'rectangle 9.4,12.6 10.6,15.4' "$(png icon_lock)"

# The combo box arrow, drawn into an 18x40 strip at the right of the 40-pixel account field.
"$convert" -size 18x40 xc:none -fill none -stroke '#8C96A3' -strokewidth 1.6 \
    -draw 'polyline 5,17.5 9,21.5 13,17.5' "$(png combo_arrow)"

# Forgetting the shown account: a small cross in a circle, red when hovered.
"$convert" -size 16x16 xc:none -fill '#E3E8EF' -draw 'circle 8,8 8,1' \
    -stroke '#8C96A3' -strokewidth 1.3 -draw 'line 5.5,5.5 10.5,10.5' -draw 'line 10.5,5.5 5.5,10.5' \
    "$(png delete_normal)"
"$convert" -size 16x16 xc:none -fill '#E5484D' -draw 'circle 8,8 8,1' \
    -stroke white -strokewidth 1.3 -draw 'line 5.5,5.5 10.5,10.5' -draw 'line 10.5,5.5 5.5,10.5' \
    "$(png delete_hot)"

# Check boxes and radio buttons: strips of four 24x20 states (normal, hot, selected, selected
# and hot). The box sits in the left 20 pixels; the skin draws them with corner='20,0,0,0' so
# that the transparent rest stretches under the label.
check_state() {
    local frame=$1 fill=$2 tick=$3
    local draw=(-fill "$fill" -stroke "$frame" -strokewidth 1 -draw 'roundrectangle 2.5,2.5 17.5,17.5 3,3')
    if [ "$tick" = yes ]; then
        draw+=(-fill none -stroke white -strokewidth 1.8 -draw 'polyline 6,10.2 8.8,13 14,7.2')
    fi
    "$convert" -size 24x20 xc:none "${draw[@]}" miff:-
}
{
    check_state '#B8C2CF' white no
    check_state '#3A86EE' white no
    check_state '#2F7BE8' '#2F7BE8' yes
    check_state '#4A90F0' '#4A90F0' yes
} | "$convert" - +append "$(png check)"
radio_state() {
    local frame=$1 dot=$2
    local draw=(-fill white -stroke "$frame" -strokewidth 1 -draw 'circle 10,10 10,2.5')
    if [ -n "$dot" ]; then
        draw+=(-stroke none -fill "$dot" -draw 'circle 10,10 10,6.4')
    fi
    "$convert" -size 24x20 xc:none "${draw[@]}" miff:-
}
{
    radio_state '#B8C2CF' ''
    radio_state '#3A86EE' ''
    radio_state '#2F7BE8' '#2F7BE8'
    radio_state '#4A90F0' '#4A90F0'
} | "$convert" - +append "$(png radio)"

# Buttons: strips of four 40x40 states (normal, hot, pushed, disabled), nine-grid with
# 6-pixel corners. Primary: blue with a light top edge; secondary: white with a frame.
primary_state() {
    local from=$1 to=$2
    "$convert" -size 40x40 -define gradient:angle=180 "gradient:$from-$to" -alpha set \
        \( -size 40x40 xc:none -fill white -draw 'roundrectangle 0,0 39,39 5,5' \) \
        -compose DstIn -composite miff:-
}
{
    primary_state '#4C94F5' '#2F7BE8'
    primary_state '#62A5FA' '#3E8AF0'
    primary_state '#2A6FD6' '#2463C4'
    primary_state '#C9D1DC' '#BCC5D1'
} | "$convert" - +append "$(png button_primary)"
secondary_state() {
    "$convert" -size 40x40 xc:none -fill "$1" -stroke "$2" -strokewidth 1 \
        -draw 'roundrectangle 0.5,0.5 39.5,39.5 5,5' miff:-
}
{
    secondary_state white '#C8D1DC'
    secondary_state '#EDF5FF' '#3A86EE'
    secondary_state '#D9E9FF' '#2468C8'
    secondary_state '#F3F5F7' '#DDE2E8'
} | "$convert" - +append "$(png button_secondary)"

# The progress bar, nine-grid with 5-pixel corners: a light track on the background, and a
# bright bar whose drawn part grows with the value.
"$convert" -size 20x10 xc:none -fill 'rgba(255,255,255,0.22)' -draw 'roundrectangle 0,0 19,9 4.5,4.5' \
    "$(png progress_track)"
"$convert" -size 20x10 -define gradient:angle=180 'gradient:#7FF0C8-#2FC58E' -alpha set \
    \( -size 20x10 xc:none -fill white -draw 'roundrectangle 0,0 19,9 4.5,4.5' \) \
    -compose DstIn -composite "$(png progress_bar)"

# Field status icons, one strip of 32x16: invalid (a red cross) left, valid (a green tick) right.
"$convert" -size 32x16 xc:none \
    -fill '#E5484D' -draw 'circle 8,8 8,1' \
    -stroke white -strokewidth 1.6 -draw 'line 5.5,5.5 10.5,10.5' -draw 'line 10.5,5.5 5.5,10.5' \
    -stroke none -fill '#2DB56B' -draw 'circle 24,8 24,1' \
    -stroke white -strokewidth 1.6 -fill none -draw 'polyline 20.5,8.3 23,10.8 27.6,5.8' \
    "$(png tooltip)"

# Password strength: an empty meter (three grey bars) and one image per level, each with its
# word: 0 too short, 1 weak, 2 fair, 3 strong.
meter() {
    local lit=$1 colour=$2 word=$3
    local draw=()
    for bar in 0 1 2; do
        local x=$((bar * 44)) fill='#E3E8EF'
        [ "$bar" -lt "$lit" ] && fill=$colour
        draw+=(-fill "$fill" -draw "roundrectangle $x,5 $((x + 39)),10 2.5,2.5")
    done
    if [ -n "$word" ]; then
        draw+=(-font "$cjk" -pointsize 12 -fill "$colour" -draw "text 138,13 '$word'")
    fi
    "$convert" -size 180x16 xc:none "${draw[@]}" "$(png "$4")"
}
meter 0 '#E3E8EF' '' passlv_empty
meter 1 '#E5484D' '弱' passlv1
meter 2 '#F5A623' '中' passlv2
meter 3 '#2DB56B' '强' passlv3
# "Too short" lights no bar: its word alone says it.
"$convert" -size 180x16 xc:none -fill '#E3E8EF' \
    -draw 'roundrectangle 0,5 39,10 2.5,2.5' -draw 'roundrectangle 44,5 83,10 2.5,2.5' \
    -draw 'roundrectangle 88,5 127,10 2.5,2.5' \
    -font "$cjk" -pointsize 12 -fill '#E5484D' -draw "text 138,13 '太短'" "$(png passlv0)"

# The verification code's box: a pale ground with a few faint strokes, as codes are shown.
"$convert" -size 80x36 xc:'#F2F6FC' \
    -stroke 'rgba(47,123,232,0.18)' -strokewidth 1 -fill none \
    -draw 'bezier 0,26 20,6 40,30 80,10' -draw 'bezier 0,12 30,30 50,4 80,24' \
    -stroke '#D5DCE6' -draw 'rectangle 0.5,0.5 79.5,35.5' "$(png code_box)"

# Placeholder art where the web pages show. The embedded pages draw over it; where no page
# can be shown (no browser engine, no network) the art stands in, so these areas never look
# empty.
#
# The advertisement banner (584x488): a night-blue stage with soft light, the platform's name
# and three game tiles.
banner=$out/ad_banner.jpg
"$convert" -size 584x488 -define gradient:angle=135 'gradient:#12204A-#3B2A7E' \
    \( -size 584x488 xc:none -fill 'rgba(80,150,255,0.55)' -draw 'circle 470,110 470,250' \
       -fill 'rgba(200,90,255,0.40)' -draw 'circle 90,420 90,560' \
       -fill 'rgba(60,220,200,0.25)' -draw 'circle 300,250 300,330' -blur 0x60 \) -compose Screen -composite \
    \( -size 584x488 xc:none -fill 'rgba(255,255,255,0.05)' \
       -draw 'polygon 330,0 410,0 150,488 70,488' -draw 'polygon 450,0 480,0 220,488 190,488' \) \
    -compose Over -composite "MIFF:$banner.miff"
# A fixed scatter of small stars.
RANDOM=7
stars=()
for _ in $(seq 70); do
    x=$((RANDOM % 584)) y=$((RANDOM % 300)) r=$((RANDOM % 3))
    stars+=(-fill "rgba(255,255,255,0.$((3 + RANDOM % 6)))" -draw "circle $x,$y $x,$((y + r / 2 + 1))")
done
# tile X COLOUR1 COLOUR2 GLYPH GLYPH_COLOUR NAME GLYPH_SIZE GLYPH_TOP: one rounded game tile at x.
tile() {
    local x=$1 from=$2 to=$3 glyph=$4 colour=$5 name=$6 size=$7 top=$8
    "$convert" -size 132x150 -define gradient:angle=160 "gradient:$from-$to" -alpha set \
        \( -size 132x150 xc:none -fill white -draw 'roundrectangle 0,0 131,149 14,14' \) \
        -compose DstIn -composite -compose Over \
        -fill 'rgba(255,255,255,0.16)' -draw 'roundrectangle 0,0 131,60 14,14' \
        -fill 'rgba(255,255,255,0.92)' -draw 'circle 66,62 66,22' \
        -font "$cjk" -pointsize "$size" -fill "$colour" -gravity north -annotate "+0+$top" "$glyph" \
        -font "$cjk" -pointsize 17 -fill white -annotate +0+112 "$name" \
        \( +clone -background 'rgba(0,0,20,0.55)' -shadow 60x8+0+6 \) +swap -background none -layers merge +repage \
        "MIFF:$out/tile$x.miff"
}
tile 44 '#FF8A5B' '#E0404F' '♠' '#1F2640' '斗地主' 66 22
tile 226 '#46D3A0' '#1B9A78' '中' '#D8322F' '麻  将' 44 34
tile 408 '#6FA8FF' '#3D5BD8' '帥' '#C62828' '象  棋' 44 34
"$convert" "$banner.miff" "${stars[@]}" \
    -font "$cjk" -fill white -pointsize 40 -stroke white -strokewidth 0.6 -annotate +44+96 'Lobbex 游戏大厅' \
    -stroke none -fill 'rgba(255,255,255,0.78)' -pointsize 18 -annotate +46+134 '棋牌 · 休闲 · 竞技　一个账号，畅玩全部' \
    -fill '#FFD75E' -draw 'roundrectangle 44,160 212,192 16,16' \
    -fill '#3A2A10' -pointsize 15 -annotate +60+182 '新版上线 · 登录有礼' \
    "$out/tile44.miff" -geometry +38+262 -composite \
    "$out/tile226.miff" -geometry +220+262 -composite \
    "$out/tile408.miff" -geometry +402+262 -composite \
    -quality 90 "$banner"
rm -f "$banner.miff" "$out"/tile*.miff

# Scan-to-log-on placeholders (200x200 within the web area's image): a code-like pattern of
# fixed modules with the three finder squares and the service's mark in the middle.
qr_code() {
    local name=$1 mark=$2 seed=$3
    local size=29 module=6 origin=13
    local draw=(-fill '#1F2430')
    RANDOM=$seed
    for ((row = 0; row < size; row++)); do
        for ((column = 0; column < size; column++)); do
            # Leave the finder corners and the middle to their own drawing.
            if { ((row < 8 && column < 8)) || ((row < 8 && column >= size - 8)) || ((row >= size - 8 && column < 8)); } ||
                { ((row >= 10 && row <= 18 && column >= 10 && column <= 18)); }; then
                continue
            fi
            if ((RANDOM % 2)); then
                local x=$((origin + column * module)) y=$((origin + row * module))
                draw+=(-draw "rectangle $x,$y $((x + module - 1)),$((y + module - 1))")
            fi
        done
    done
    for corner in "0 0" "0 $((size - 7))" "$((size - 7)) 0"; do
        read -r row column <<<"$corner"
        local x=$((origin + column * module)) y=$((origin + row * module)) side=$((7 * module))
        draw+=(-fill '#1F2430' -draw "roundrectangle $x,$y $((x + side - 1)),$((y + side - 1)) 6,6"
            -fill white -draw "roundrectangle $((x + module)),$((y + module)) $((x + side - module - 1)),$((y + side - module - 1)) 4,4"
            -fill '#1F2430' -draw "roundrectangle $((x + 2 * module)),$((y + 2 * module)) $((x + side - 2 * module - 1)),$((y + side - 2 * module - 1)) 3,3")
    done
    "$convert" -size 200x200 xc:white "${draw[@]}" \
        -fill white -draw 'roundrectangle 78,78 121,121 8,8' "$mark" -compose Over -geometry +82+82 -composite \
        "MIFF:$out/$name.miff"
}
# The services' marks (36x36): a blue tile with a white speech bubble, a green tile with two.
"$convert" -size 36x36 xc:none -fill '#1E9FFF' -draw 'roundrectangle 0,0 35,35 8,8' \
    -fill white -draw 'ellipse 18,16 11,9 0,360' -draw 'polygon 12,22 10,29 18,23' "MIFF:$out/mark_qq.miff"
"$convert" -size 36x36 xc:none -fill '#2DB56B' -draw 'roundrectangle 0,0 35,35 8,8' \
    -fill white -draw 'ellipse 14,15 9,7.5 0,360' -draw 'polygon 9,19 7,25 14,20' \
    -fill '#2DB56B' -draw 'ellipse 23,21 9,7.5 0,360' -fill white -draw 'ellipse 23,21 7.5,6.2 0,360' \
    -draw 'polygon 28,25 30,30 24,26' "MIFF:$out/mark_wechat.miff"
qr_code qr_qq "$out/mark_qq.miff" 11
qr_code qr_wechat "$out/mark_wechat.miff" 23
# The web areas of the scan pages are 280x380: the code sits in a framed card at the top, the
# rest stays transparent for the texts of the skin below the page.
scan_area() {
    "$convert" -size 280x380 xc:none \
        \( -size 280x380 xc:none -fill 'rgba(20,40,80,0.22)' -draw 'roundrectangle 32,22 247,237 10,10' -blur 0x5 \) \
        -compose Over -composite \
        -fill white -stroke '#E3E8EF' -strokewidth 1 -draw 'roundrectangle 32.5,18.5 247.5,233.5 10,10' \
        "$out/$1.miff" -geometry +40+26 -composite "$(png "$2")"
}
scan_area qr_qq scan_qq
scan_area qr_wechat scan_wechat
rm -f "$out"/qr_*.miff "$out"/mark_*.miff

# Without time stamps, drawing the same images again leaves the files as they are.
for image in "$out"/*.png; do
    "$convert" "$image" -define png:exclude-chunks=date,time "PNG32:$image"
done
echo "make-main-skin-images: done"
