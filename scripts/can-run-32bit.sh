#!/bin/sh
# Succeeds when this machine executes 32-bit x86 programs natively (the kernel's IA-32
# emulation), which 32-bit Wine needs. An emulator registered for them does not count: Wine
# runs far too slowly under it for a test suite.
[ -x /usr/lib/wine/wine ] || exit 1
for handler in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$handler" ] || continue
    if grep -q '^interpreter .*qemu-i386' "$handler" 2>/dev/null && grep -qx enabled "$handler"; then
        exit 1
    fi
done
timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1
