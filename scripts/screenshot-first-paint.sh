#!/usr/bin/env bash
# Takes a screenshot of the launcher's window at the moment of its first frame: the installed
# launcher on an up-to-date installation (as scripts/bench.sh startup runs it) is held at its
# "first paint" milestone while the screen is captured, into FILE (default
# build/screenshots/first-paint.png):
#   scripts/screenshot-first-paint.sh [FILE]
# Two shots of builds that paint the same first frame are the same picture (compare -metric AE).
# Needs the test preset built (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
file=${1:-build/screenshots/first-paint.png}
mkdir -p "$(dirname "$file")"
if [ -z "${LOBBEX_SCREENSHOT_DISPLAY:-}" ]; then
    export LOBBEX_SCREENSHOT_DISPLAY=1
    exec ./scripts/with-display.sh "$0" "$file"
fi
preset=$(./scripts/test-preset.sh)
build=build/$preset
run="$build/wine-run"
cmake --preset host >/dev/null
cmake --build --preset host --target lobbex-publish >/dev/null
source scripts/lib/launcher-install.sh
work=$(mktemp -d /tmp/lobbex-first-paint.XXXXXX)
chmod 755 "$work"  # nginx workers run as another user
trap 'stop_update_server; "$run" --shutdown; rm -rf "$work"' EXIT
install_current_launcher "$build" "$work"
launcher=$("$run" winepath -w "$work/Lobbex/LobbexLauncher.exe" 2>/dev/null | tr -d '\r')
hold=$("$run" winepath -w "$work/held" 2>/dev/null | tr -d '\r')
"$run" "$build/bench/startup_bench.exe" --hold "$hold" "first paint" "$launcher" >/dev/null &
bench=$!
for _ in $(seq 300); do
    [ -f "$work/held" ] && break
    sleep 0.1
done
[ -f "$work/held" ] || { echo "screenshot: the launcher did not reach its first paint" >&2; exit 1; }
window=$(xdotool search --onlyvisible --classname lobbexlauncher | tail -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$file"
rm -f "$work/held"
wait "$bench"
echo "first frame in $file"
