#!/usr/bin/env bash
# Takes a screenshot of the message box for each button style (and one per colour skin) under
# a private X display, into a folder (default build/screenshots):
#   scripts/screenshot-msgbox.sh [FOLDER]
# Needs the test preset built (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/screenshot-setup.sh
demo="$build/tests/msgbox/msgbox_demo.exe"
key='HKCU\Software\KorvaGamePlatform\Lobbex\Option\Interface'

# shot NAME STYLE TITLE TEXT [SKIN]: shows one box, hovers its first visible button, saves it.
shot() {
    local name=$1 style=$2 title=$3 text=$4 skin=${5:-}
    "$run" reg delete "$key" /f >/dev/null 2>&1 || true
    if [ -n "$skin" ]; then
        "$run" reg add "$key" /v InterfaceType /t REG_DWORD /d "$skin" /f >/dev/null 2>&1
    fi
    "$run" "$demo" "$style" "$title" "$text" >/dev/null 2>&1 &
    local pid=$! window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --classname msgbox_demo 2>/dev/null | tail -1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "screenshot: no box for $name" >&2; kill "$pid"; return 1; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The mouse over the middle button of the row, to show the hover state.
    xdotool mousemove $((X + 200)) $((Y + 174))
    sleep 0.5
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$name.png"
    # Closed with a real click on its close button.
    xdotool mousemove $((X + 376)) $((Y + 22)) click 1
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

shot style0 0 "错误提示" "网络异常！"
shot style1 1 "提示" "确定要退出吗？"
shot style2 2 "错误提示" "文件正在使用中。"
shot style3 3 "提示" "是否保存当前设置？"
shot style4 4 "错误提示" "下载文件错误,是否重新下载?\n错误代码：12"
shot style5 5 "错误" "无法启动游戏"
for skin in 2 3 4; do
    shot "skin$((skin - 1))" 4 "提示" "正在更新请稍后尝试" "$skin"
done
"$run" reg delete "$key" /f >/dev/null 2>&1 || true
"$run" --shutdown
echo "screenshots in $out"
