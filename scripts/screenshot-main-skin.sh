#!/usr/bin/env bash
# Takes screenshots of the launcher's main skin (LobbexUpdate/LobbexUpdate.xml) under a private
# X display, one per page of LogonRegister and per colour skin, into a folder (default
# build/screenshots):
#   scripts/screenshot-main-skin.sh [FOLDER]
# Needs the test preset built (scripts/test.sh builds it); the skin is shown by
# tests/skin/skin_preview.exe, which builds it as the launcher does.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/screenshot-setup.sh
preview="$build/tests/skin/skin_preview.exe"
[ -x "$preview" ] || { echo "screenshot: build the $preset preset first ($preview is missing)" >&2; exit 1; }

# shot NAME [HOVER_X HOVER_Y] -- PREVIEW ARGUMENTS...: shows the skin, moves the mouse to a
# point of the window (to show a hover state) and saves the window with its round corners.
shot() {
    local name=$1 hover=""
    shift
    if [ "$1" != "--" ]; then
        hover="$1 $2"
        shift 2
    fi
    shift
    "$run" "$preview" "$@" >/dev/null 2>&1 &
    local pid=$! window=""
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --classname skin_preview 2>/dev/null | tail -1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "screenshot: no window for $name" >&2; kill "$pid"; return 1; }
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if [ -n "$hover" ]; then
        read -r hx hy <<<"$hover"
        xdotool mousemove $((X + hx)) $((Y + hy))
    else
        xdotool mousemove 0 0
    fi
    sleep 0.5
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/main-$name.png"
    # The window's round corners (8x8 ellipse) become transparent.
    convert "$out/main-$name.png" -alpha set \
        \( -size "${WIDTH}x${HEIGHT}" xc:none -fill white -draw "roundrectangle 0,0 $((WIDTH - 1)),$((HEIGHT - 1)) 4,4" \) \
        -compose DstIn -composite "PNG32:$out/main-$name.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

updating=(--set 'UpdateState.text=正在下载 GameClient/Lobbex.exe (3/12) 1.8 MB/s' --set AllFileProgress.value=45
    --set Logon.enabled=false)
ready=(--set 'LogonAccount.text=lobbex2024' --set 'PassWord.text=secret-pass' --set SavePassword.selected=true)
registration=(--tab 1
    --set 'edit_Account.text=lobbex2024' --set Image_Account.visible=true --set 'Text_Account.text='
    --set "Image_Account.bkimage=file='LobbexUpdate\\tooltip.png' source='16,0,32,16'"
    --set 'edit_GameName.text=小明' --set Image_GameName.visible=true
    --set "Image_GameName.bkimage=file='LobbexUpdate\\tooltip.png' source='0,0,16,16'"
    --set 'Text_GameName.text=游戏昵称由6-16个字符组成，一个汉字算两个字符'
    --set 'edit_PassWord_1.text=Lobbex2024' --set passlv2_option.selected=true
    --set 'Text_PassWord_1.text=8～16个字符(字母、数字、特殊符号),区分大小写'
    --set 'Text_Number.text=4821')

shot account-updating -- "${updating[@]}"
shot account-ready 748 288 -- "${ready[@]}" --set AllFileProgress.value=100
shot register -- "${registration[@]}"
shot qq -- --tab 2
shot wechat -- --tab 3
for folder in 0 1 2 3; do
    shot "skin$folder" -- --skin "$folder" "${updating[@]}"
done
shot skin2-register -- --skin 2 "${registration[@]}"
shot colour -- --color 0xFF8A3B52 "${ready[@]}"
# With a browser that shows nothing (Wine has no engine; a server that cannot be reached) the
# skin's art stays in place of blank or error pages.
shot browser -- --ole --navigate web=about:blank --navigate web=http://127.0.0.1:9/ads/LogonLogo.aspx \
    --navigate QQLogonWeb=http://127.0.0.1:9/qlogin.aspx
"$run" --shutdown
echo "screenshots in $out"
