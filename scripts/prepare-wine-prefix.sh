#!/bin/sh
# Settles a freshly created Wine prefix for the tests. $1: the Wine loader to run programs
# with; WINEPREFIX and the locale are set by the caller.
#
# The skins name Chinese fonts (微软雅黑, Microsoft YaHei, 宋体, SimSun) that Wine does not
# ship: they are mapped to WenQuanYi Micro Hei (Debian's fonts-wqy-microhei), and text is
# drawn smoothed as on the players' machines. The test display has no window manager: Wine is
# told not to wait for one (it would wait two seconds for each window that hides).
set -e
loader=$1
reg=$(mktemp /tmp/lobbex-prefix.XXXXXX.reg)
trap 'rm -f "$reg"' EXIT
wqy="WenQuanYi Micro Hei"
{
    printf '\357\273\277Windows Registry Editor Version 5.00\r\n\r\n'
    for key in 'HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements' \
        'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'; do
        printf '[%s]\r\n' "$key"
        for face in '微软雅黑' 'Microsoft YaHei' '宋体' 'SimSun' '新宋体' 'NSimSun' '黑体' 'SimHei'; do
            printf '"%s"="%s"\r\n' "$face" "$wqy"
        done
        printf '\r\n'
    done
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
    printf '"FontSmoothing"="2"\r\n"FontSmoothingType"=dword:00000002\r\n'
    printf '"FontSmoothingGamma"=dword:00000578\r\n"FontSmoothingOrientation"=dword:00000001\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
} | iconv -f UTF-8 -t UTF-16LE >"$reg"
"$loader" regedit /S "Z:$(echo "$reg" | tr / '\\')"
