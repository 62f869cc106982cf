#!/usr/bin/env bash
# Builds the launcher with a release key of its own, for the signed demo and the end-to-end
# tests of signed releases: a key pair made here (never kept in the sources), and a build of
# the preset with LOBBEX_RELEASE_KEY set to its public half and without the tests.
#   build-signed-launcher.sh PRESET
# The build is build/PRESET-signed; the private key build/PRESET-signed/keys/release-key.pem
# (for lobbex-publish --sign-key), the public one beside it as release-key.pub.
set -euo pipefail
preset=$1
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/$preset-signed"
keys="$build/keys"

mkdir -p "$keys"
if [ ! -s "$keys/release-key.pem" ]; then
    (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$keys/release-key.pem")
    openssl ec -in "$keys/release-key.pem" -pubout -out "$keys/release-key.pub" 2>/dev/null
fi
cmake --preset "$preset" -S "$root" -B "$build" -DLOBBEX_TESTS=OFF -DLOBBEX_RELEASE_KEY="$keys/release-key.pub" \
    >/dev/null
cmake --build "$build" -j 2 >/dev/null
echo "$build"
