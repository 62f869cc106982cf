#!/usr/bin/env bash
# The installed LobbexLauncher.exe under Wine against nginx on 127.0.0.1, driven as a player
# would drive it.
#   launcher_e2e.sh SCENARIO BUILD LOBBEX_PUBLISH [SIGNED_BUILD]
# SCENARIO: update-then-logon, up-to-date-logon, second-instance, pipe-parameter, two-at-once,
#           self-update, missing-skin; with SIGNED_BUILD (a launcher built with a release key
#           by scripts/build-signed-launcher.sh): signed-update, signed-refused.
set -euo pipefail
scenario=$1
build=$(cd "$2" && pwd)
publish=$3
signed_build=${4:-}
launcher_build=$build
sign_options=()
case "$scenario" in
signed-*)
    [ -n "$signed_build" ] || { echo "$scenario needs the signed launcher's build" >&2; exit 2; }
    launcher_build=$(cd "$signed_build" && pwd)
    key="$launcher_build/keys/release-key.pem"
    sign_options=(--sign-key "$key")
    ;;
esac
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/update-server.sh"
source "$root/scripts/lib/launcher-install.sh"

wine_run="$build/wine-run"
work=$(mktemp -d /tmp/lobbex-e2e.XXXXXX)
install="$work/install"
launchers=()
cleanup() {
    for pid in "${launchers[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wine_run" taskkill /f /im LobbexLauncher.exe >/dev/null 2>&1 || true
    # A lobby client left running would hold the test's output open.
    "$wine_run" taskkill /f /im Lobbex.exe >/dev/null 2>&1 || true
    "$wine_run" reg delete 'HKCU\Software\KorvaGamePlatform\Lobbex' /f >/dev/null 2>&1 || true
    stop_update_server
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    import -window root "$work/failure.png" 2>/dev/null && cp "$work/failure.png" "/tmp/lobbex-e2e-$scenario-failure.png" &&
        echo "screenshot: /tmp/lobbex-e2e-$scenario-failure.png" >&2
    exit 1
}

# Waits up to $1 seconds for a command to succeed.
wait_for() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}
launcher_windows() { xdotool search --onlyvisible --class lobbexlauncher.exe 2>/dev/null | wc -l; }
has_windows() { [ "$(launcher_windows)" -ge "$1" ]; }
# Whether the launcher started last still runs, for the message of one that shows no window
# (one that ended at once found another launcher, or a window of its class).
launcher_state() {
    local pid=${launchers[-1]:-}
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        printf 'the launcher still runs'
    else
        printf 'the launcher has ended'
    fi
}
same_file() { cmp -s "$1" "$2"; }
files_current() {
    same_file "$work/release/bin/GameCore.dll" "$install/bin/GameCore.dll" &&
        same_file "$work/release/游戏资源/大厅资源.pak" "$install/游戏资源/大厅资源.pak" &&
        grep -q 'version=2.0' "$install/data/Server.inf"
}
# Enter until the lobby client starts: a press while the update still runs gets the "please
# wait" box, which the next press closes.
press_enter_until_lobby_starts() {
    for _ in $(seq 15); do
        xdotool key Return
        if wait_for 2 test -s "$install/lobby-started.txt"; then
            return 0
        fi
    done
    return 1
}

"$wine_run" reg delete 'HKCU\Software\KorvaGamePlatform\Lobbex' /f >/dev/null 2>&1 || true
make_demo_release "$work/release" http://placeholder 2.0
if [ "$scenario" = self-update ]; then
    # A release with a launcher of its own: the one built, with bytes after its image.
    { cat "$build/app/LobbexLauncher.exe"; printf 'Lobbex launcher of release 2.0'; } >"$work/release/LobbexLauncher.exe"
fi
start_update_server "$work/site" "$work"
write_configuration "$work/release" "$UPDATE_SERVER_URL" 2.0
rm -f "$work/release/data/FrameVersion.ini"
"$publish" --quiet --version 2.0 "${sign_options[@]}" "$work/release" "$work/site" >/dev/null
install_launcher "$launcher_build" "$install" "$UPDATE_SERVER_URL" 1.0

# How often the launchers asked for a path, as nginx logged it.
requests_for() { grep -c "\"GET $1 HTTP" "$work/nginx-access.log" 2>/dev/null || true; }
list_requests_reach() { [ "$(requests_for /patchlist.dat)" -ge "$1" ]; }
no_windows() { ! xdotool search --onlyvisible --class lobbexlauncher.exe >/dev/null 2>&1; }
# The launcher refuses the served list: it asks for the list on each of its three calls and
# fetches no file; its logon stays refused.
expect_list_refused() {
    local lists_before
    lists_before=$(requests_for /patchlist.dat)
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no launcher window ($(launcher_state))"
    wait_for 60 list_requests_reach $((lists_before + 3)) || fail "the launcher did not ask for the list three times ($1)"
    sleep 3
    [ "$(requests_for '/GameClient/[^ ]*')" = 0 ] || fail "a file was fetched from a list that is $1"
    grep -q 'version=1.0' "$install/data/Server.inf" || fail "the installed version changed with a list that is $1"
    [ ! -e "$install/patchlist.dat" ] || fail "the refused list was left in the installation"
    xdotool key Return
    sleep 3
    [ ! -e "$install/lobby-started.txt" ] || fail "logon was allowed with a list that is $1"
    for pid in "${launchers[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$wine_run" taskkill /f /im LobbexLauncher.exe >/dev/null 2>&1 || true
    launchers=()
    wait_for 30 no_windows || fail "the refusing launcher did not end"
    echo "a list that is $1 was refused: nothing fetched, logon refused"
}

case "$scenario" in
signed-refused)
    mkdir -p "$install/bin"
    head -c 1000 /dev/urandom >"$install/bin/GameCore.dll"
    remember_account "$wine_run" 10001 e2e_player e2e_password
    served="$work/site/current"
    cp "$served/patchlist.dat" "$work/signed-list"
    # Changed after signing: a digest of the list is someone else's.
    sed -i '0,/,[0-9A-F]\{32\}/s//,00000000000000000000000000000000/' "$served/patchlist.dat"
    cmp -s "$served/patchlist.dat" "$work/signed-list" && fail "the list was not changed"
    expect_list_refused "changed after signing"
    # Unsigned: no signature at all.
    cp "$work/signed-list" "$served/patchlist.dat"
    rm "$served/patchlist.dat.sig"
    expect_list_refused "unsigned"
    # Signed by hand, as an operator can: the launcher installs it.
    openssl dgst -sha256 -sign "$key" -out "$served/patchlist.dat.sig" "$served/patchlist.dat"
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no launcher window ($(launcher_state))"
    wait_for 120 files_current || fail "the list signed with openssl dgst was not installed"
    press_enter_until_lobby_starts || fail "Enter did not start the lobby client"
    "$wine_run" taskkill /f /im Lobbex.exe >/dev/null 2>&1 || true
    wait "${launchers[-1]}" || true
    launchers=()
    echo "the list signed by hand with openssl dgst was installed and logon allowed"
    ;;
update-then-logon | up-to-date-logon | self-update | signed-update)
    if [ "$scenario" = up-to-date-logon ]; then
        # Every file of the release already in place.
        cp -r "$work/release/." "$install/"
    else
        mkdir -p "$install/bin"
        head -c 1000 /dev/urandom >"$install/bin/GameCore.dll"  # an old file; the others are missing
    fi
    remember_account "$wine_run" 10001 e2e_player e2e_password
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no launcher window ($(launcher_state))"
    wait_for 120 files_current || fail "the installation was not brought up to date"
    [ ! -e "$install/bin/GameCore.dll.rkx" ] || fail "a temporary download was left behind"
    press_enter_until_lobby_starts || fail "Enter did not start the lobby client"
    arguments=$(head -n 1 "$install/lobby-started.txt" | tr -d '\r')
    [ "$arguments" = " 0|e2e_player|e2e_password|1|0" ] || fail "the lobby got \"$arguments\""
    "$wine_run" taskkill /f /im Lobbex.exe >/dev/null 2>&1 || true
    status=0
    wait "${launchers[0]}" || status=$?
    launchers=()
    [ "$status" = 0 ] || fail "the launcher ended with $status instead of 0"
    echo "lobby started with \"$arguments\"; the launcher ended with 0"
    if [ "$scenario" = self-update ]; then
        # The running launcher was renamed aside and the release's put in its place; the new
        # one deletes the old one at its start, now that it no longer runs.
        same_file "$work/release/LobbexLauncher.exe" "$install/LobbexLauncher.exe" ||
            fail "the launcher was not replaced by the release's"
        [ -e "$install/LobbexLauncher.exe.rkx-old" ] || fail "the running launcher was not renamed aside"
        (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
        launchers+=($!)
        wait_for 60 has_windows 1 || fail "the replaced launcher shows no window"
        wait_for 60 test ! -e "$install/LobbexLauncher.exe.rkx-old" || fail "the old launcher was not deleted"
        echo "the launcher replaced itself; its next start deleted the old one"
    fi
    ;;
two-at-once)
    # Both started in the same moment, before either has a window.
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no launcher window ($(launcher_state))"
    sleep 5
    [ "$(launcher_windows)" = 1 ] || fail "two launchers run: $(launcher_windows) windows"
    running=0
    for pid in "${launchers[@]}"; do
        if kill -0 "$pid" 2>/dev/null; then
            running=$((running + 1))
        fi
    done
    [ "$running" = 1 ] || fail "$running launchers run instead of one"
    echo "of two launchers started together, one runs"
    ;;
missing-skin)
    # A broken installation: without its skin the window cannot be made, and the player is
    # told so instead of getting nothing.
    rm -rf "$install/LobbexUpdate"
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no message was shown"
    sleep 1
    xdotool key Return
    status=0
    wait_for 30 bash -c "! kill -0 ${launchers[0]} 2>/dev/null" || fail "the launcher did not end after the message"
    wait "${launchers[0]}" || status=$?
    launchers=()
    [ "$status" = 1 ] || fail "the launcher ended with $status instead of 1"
    echo "a launcher without its skin said so and ended with 1"
    ;;
second-instance)
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no launcher window ($(launcher_state))"
    first=$(xdotool search --onlyvisible --class lobbexlauncher.exe | head -n 1)
    xdotool windowminimize "$first" 2>/dev/null || true
    status=0
    timeout 60 "$wine_run" "$install/LobbexLauncher.exe" || status=$?
    [ "$status" = 0 ] || fail "the second launcher ended with $status"
    [ "$(launcher_windows)" = 1 ] || fail "the second launcher made a window"
    kill -0 "${launchers[0]}" 2>/dev/null || fail "the first launcher is gone"
    focused=$(xdotool getwindowfocus 2>/dev/null || echo none)
    [ "$focused" = "$first" ] || fail "the first launcher's window was not brought to the front ($focused, not $first)"
    echo "the second start brought the first launcher to the front and ended"
    ;;
pipe-parameter)
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe") &
    launchers+=($!)
    wait_for 60 has_windows 1 || fail "no launcher window ($(launcher_state))"
    (cd "$work" && exec "$wine_run" "$install/LobbexLauncher.exe" "lobby|restart") &
    launchers+=($!)
    wait_for 60 has_windows 2 || fail "a first parameter with | did not start a second launcher"
    echo "a first parameter with | skipped the single-instance check"
    ;;
*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
