#!/usr/bin/env bash
# The launcher at work: installs what is missing, builds it, publishes a small demo release
# with lobbex-publish to nginx on 127.0.0.1, prepares an out-of-date installation and starts
# the launcher under Wine. With a display you watch and use it (the demo account is filled
# in: press Enter or 登录 once the update is done). Without one it runs under Xvfb, saves
# screenshots in build/demo/ and says what happened. Set LOBBEX_DEMO_HEADLESS=1 to run it
# headless on a display too. With LOBBEX_DEMO_SIGNED=1 the release is signed: the launcher is
# built with a release key made for the demo (scripts/build-signed-launcher.sh) and
# lobbex-publish signs the list with its private half.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

./scripts/install-deps.sh
preset=$(./scripts/test-preset.sh)
echo "demo: building the launcher ($preset) and the publisher"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" >/dev/null
cmake --preset host >/dev/null
cmake --build --preset host --target lobbex-publish >/dev/null
launcher_build="build/$preset"
sign_options=()
if [ "${LOBBEX_DEMO_SIGNED:-0}" = 1 ]; then
    echo "demo: building the launcher with the demo's release key"
    launcher_build=$(./scripts/build-signed-launcher.sh "$preset")
    sign_options=(--sign-key "$launcher_build/keys/release-key.pem")
fi

source scripts/lib/update-server.sh
source scripts/lib/launcher-install.sh
demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
export LOBBEX_WINEPREFIX="$demo/wineprefix"
wine_run="$root/build/$preset/wine-run"
install="$demo/Lobbex"
cleanup() {
    "$wine_run" --shutdown 2>/dev/null || true
    stop_update_server
}
trap cleanup EXIT

echo "demo: publishing release 2.0 and serving it on 127.0.0.1 (slowed down, so the update can be watched)"
make_demo_release "$demo/release" http://placeholder 2.0
start_update_server "$demo/site" "$demo" 3m
write_configuration "$demo/release" "$UPDATE_SERVER_URL" 2.0
rm -f "$demo/release/data/FrameVersion.ini"
build/host/publisher/lobbex-publish --version 2.0 "${sign_options[@]}" "$demo/release" "$demo/site"

echo "demo: an installation of version 1.0 in $install"
install_launcher "$launcher_build" "$install" "$UPDATE_SERVER_URL" 1.0
mkdir -p "$install/bin"
head -c 1000 /dev/urandom >"$install/bin/GameCore.dll"  # an old file; the others are missing
remember_account "$wine_run" 10001 demo_player demo_password

# Whether every file of the release is in the installation as released.
release_in_place() {
    local file
    while IFS= read -r -d '' file; do
        cmp -s "$demo/release/$file" "$install/$file" || return 1
    done < <(cd "$demo/release" && find . -type f -print0)
}

run_headless() {
    local screens="$demo/screenshots"
    mkdir -p "$screens"
    (cd "$install" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    local launcher=$!
    local shown=0
    for _ in $(seq 300); do
        if xdotool search --onlyvisible --class lobbexlauncher.exe >/dev/null 2>&1; then shown=1; break; fi
        sleep 0.1
    done
    [ "$shown" = 1 ] || { echo "demo: the launcher showed no window"; return 1; }
    sleep 2
    import -window root "$screens/1-updating.png"
    local updated=0
    for _ in $(seq 600); do
        if release_in_place; then
            updated=1
            break
        fi
        sleep 0.1
    done
    sleep 2
    import -window root "$screens/2-up-to-date.png"
    if [ "$updated" = 1 ]; then
        echo "demo: the launcher brought the installation from 1.0 to 2.0:"
        (cd "$demo/release" && find . -type f | sort | sed 's/^\./    updated /')
    else
        echo "demo: the installation was not brought up to date"
    fi
    # Logon is enabled when the update has finished: Enter logs the remembered account on.
    for _ in $(seq 10); do
        xdotool key Return
        sleep 1.5
        [ -s "$install/lobby-started.txt" ] && break
    done
    sleep 1
    import -window root "$screens/3-lobby-started.png"
    if [ -s "$install/lobby-started.txt" ]; then
        echo "demo: logon was enabled; Enter started the lobby client with \"$(head -n 1 "$install/lobby-started.txt" | tr -d '\r')\""
    else
        echo "demo: the lobby client was not started"
    fi
    local status=0
    "$wine_run" taskkill /f /im Lobbex.exe >/dev/null 2>&1 || true
    wait "$launcher" || status=$?
    echo "demo: the launcher ended with exit code $status"
    echo "demo: screenshots in $screens"
    "$wine_run" --shutdown 2>/dev/null || true  # before the private display goes
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ "${LOBBEX_DEMO_HEADLESS:-0}" != 1 ]; then
    echo "demo: starting the launcher; the demo account is filled in: press Enter or 登录 once the update is done"
    (cd "$install" && "$wine_run" "$install/LobbexLauncher.exe") || true
    if [ -s "$install/lobby-started.txt" ]; then
        echo "demo: the lobby client was started with \"$(head -n 1 "$install/lobby-started.txt" | tr -d '\r')\""
    fi
else
    export -f run_headless release_in_place
    export demo install wine_run
    ./scripts/with-display.sh bash -c run_headless
fi
