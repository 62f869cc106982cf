# The common start of the screenshot scripts. Source it from a script run as
# "SCRIPT [FOLDER]" after changing to the project folder; it sets preset, build, run (the
# build's wine-run) and out (FOLDER, default build/screenshots, created), and runs the script
# again under a private X display when it is not there yet.
preset=$(./scripts/test-preset.sh)
build=build/$preset
run="$build/wine-run"
out=${1:-build/screenshots}
mkdir -p "$out"
if [ -z "${LOBBEX_SCREENSHOT_DISPLAY:-}" ]; then
    export LOBBEX_SCREENSHOT_DISPLAY=1
    exec ./scripts/with-display.sh "$0" "$@"
fi
