# Prepares launcher installations for the demo and the end-to-end tests. Source it, then:
#   install_launcher BUILD DIR UPDATE_URL [VERSION]
#       lays out the shipped installation (cmake --install) in DIR, with the demo lobby client
#       as Lobbex.exe, and points its configuration at UPDATE_URL with installed VERSION
#   make_demo_release DIR UPDATE_URL VERSION
#       writes a small release: configuration, game files, Chinese names
#   scramble_password WINE_RUN TEXT
#       the text the lobby client stores for a remembered password (the build's
#       lobbex-stored-string, run under WINE_RUN)
#   remember_account WINE_RUN USER_ID ACCOUNT PASSWORD
#       writes a remembered account into the registry of WINE_RUN's prefix
#   install_current_launcher BUILD WORK
#       an installation in WORK/Lobbex that is up to date with release 2.0, served by nginx
#       on 127.0.0.1 (scripts/lib/update-server.sh, sourced too; stop_update_server ends it);
#       needs the host preset's lobbex-publish

install_launcher() {
    local build=$1 dir=$2 url=$3 version=${4:-1.0}
    rm -rf "$dir"
    cmake --install "$build" --prefix "$dir" >/dev/null
    cp "$build/demo/Lobbex.exe" "$dir/Lobbex.exe"
    write_configuration "$dir" "$url" "$version"
}

write_configuration() {
    local dir=$1 url=$2 version=$3
    mkdir -p "$dir/data"
    printf '[Version]\r\nversion=%s\r\n\r\n[ServerInfo]\r\nUpdateServer=%s\r\n' "$version" "$url" >"$dir/data/Server.inf"
    printf '[Launch]\r\nversion=1.0\r\n' >"$dir/data/Launch.inf"
    printf '[GameVersion]\r\nSetupVersion=0\r\n' >"$dir/data/FrameVersion.ini"
}

make_demo_release() {
    local dir=$1 url=$2 version=$3
    rm -rf "$dir"
    mkdir -p "$dir/data" "$dir/bin" "$dir/res/music" "$dir/游戏资源"
    write_configuration "$dir" "$url" "$version"
    rm -f "$dir/data/FrameVersion.ini"  # the launcher's own record, not part of a release
    head -c $((6 << 20)) /dev/urandom >"$dir/bin/GameCore.dll"
    head -c $((4 << 20)) /dev/urandom >"$dir/res/music/背景音乐.ogg"
    head -c $((5 << 20)) /dev/urandom >"$dir/游戏资源/大厅资源.pak"
    printf 'Lobbex %s\r\n' "$version" >"$dir/readme.txt"
}

scramble_password() {
    local wine_run=$1 text=$2
    # The build's own writer of the format, beside its wine-run.
    "$wine_run" "$(dirname "$wine_run")/settings/lobbex-stored-string.exe" "$text" | tr -d '\r'
}

remember_account() {
    local wine_run=$1 user=$2 account=$3 password=$4
    local key='HKCU\Software\KorvaGamePlatform\Lobbex\UserInfo'
    "$wine_run" reg add "$key" /v LastUserID /t REG_DWORD /d "$user" /f >/dev/null 2>&1
    "$wine_run" reg add "$key\\$user" /v UserAccount /t REG_SZ /d "$account" /f >/dev/null 2>&1
    "$wine_run" reg add "$key\\$user" /v GameID /t REG_SZ /d "G$user" /f >/dev/null 2>&1
    "$wine_run" reg add "$key\\$user" /v UserPassword /t REG_SZ /d "$(scramble_password "$wine_run" "$password")" /f \
        >/dev/null 2>&1
}

install_current_launcher() {
    local build=$1 work=$2
    source "$(dirname "${BASH_SOURCE[0]}")/update-server.sh"
    make_demo_release "$work/release" http://placeholder 2.0
    start_update_server "$work/site" "$work"
    write_configuration "$work/release" "$UPDATE_SERVER_URL" 2.0
    rm -f "$work/release/data/FrameVersion.ini"
    build/host/publisher/lobbex-publish --quiet --version 2.0 "$work/release" "$work/site" >/dev/null
    install_launcher "$build" "$work/Lobbex" "$UPDATE_SERVER_URL" 2.0
    cp -r "$work/release/." "$work/Lobbex/"
}
