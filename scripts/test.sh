#!/usr/bin/env bash
# Installs what is missing, builds the launcher and runs the whole test suite: the portable
# core natively under the sanitizers, its fuzzers for a bounded time, then the Windows build
# under Wine. Works headless and without standard input; fails when any part fails.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/check-format.sh

# The portable core and the publisher, built natively and tested under AddressSanitizer and
# UndefinedBehaviorSanitizer.
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host

# The list parser and the publisher's rules under libFuzzer, each target for
# LOBBEX_FUZZ_SECONDS (60 by default).
./scripts/fuzz.sh

# The shipped program is the 32-bit build; it must always build cleanly.
cmake --preset mingw >/dev/null
cmake --build --preset mingw

# The tests run under Wine. On a kernel that cannot execute 32-bit programs (no IA-32
# emulation) 32-bit Wine cannot start, and the same sources built for 64-bit Windows run
# the suite under 64-bit Wine instead.
test_preset=$(./scripts/test-preset.sh)
if [ "$test_preset" != mingw ]; then
    echo "test.sh: the suite runs on the $test_preset build (scripts/test-preset.sh says why)"
    cmake --preset "$test_preset" >/dev/null
    cmake --build --preset "$test_preset"
fi

trap './build/'"$test_preset"'/wine-run --shutdown' EXIT
./scripts/with-display.sh ctest --preset "$test_preset"
