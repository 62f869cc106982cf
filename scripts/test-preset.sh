#!/usr/bin/env bash
# Prints the preset whose programs run on this machine: LOBBEX_TEST_PRESET when set, the
# shipped 32-bit build where the kernel executes 32-bit programs, the 64-bit build otherwise.
set -euo pipefail
if [ -n "${LOBBEX_TEST_PRESET:-}" ]; then
    echo "$LOBBEX_TEST_PRESET"
elif "$(dirname "$0")/can-run-32bit.sh"; then
    echo mingw
else
    echo mingw64
fi
