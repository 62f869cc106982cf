#!/usr/bin/env bash
# Prints the launcher's speed figures beside reference tools measured in the same run.
#   scripts/bench.sh            all benchmarks
# Needs a built test preset (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${LOBBEX_TEST_PRESET:-}
if [ -z "$preset" ]; then
    if ./scripts/can-run-32bit.sh; then preset=mingw; else preset=mingw64; fi
fi
build=build/$preset
cmake --build --preset "$preset" >/dev/null
run="$build/wine-run"
work=$(mktemp -d /tmp/lobbex-bench.XXXXXX)
trap '"$run" --shutdown; rm -rf "$work"' EXIT

# Best of three wall-clock seconds of a command.
best_seconds() {
    local best=""
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(echo "$start $end ${best:-1e9}" | awk '{d = $2 - $1; print (d < $3 ? d : $3)}')
    done
    echo "$best"
}

mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.1f", b / s / 1048576 }'; }

echo "== MD5 of one 256 MiB file ($preset build under Wine)"
head -c $((256 << 20)) /dev/urandom >"$work/big.bin"
bytes=$(stat -c %s "$work/big.bin")
"$run" "$build/bench/digest_bench.exe" "$work/big.bin" 1 >/dev/null  # warm the page cache and Wine
ours=$("$run" "$build/bench/digest_bench.exe" "$work/big.bin" 3 | tr -d '\r')
our_digest=${ours%% *}
our_seconds=${ours##* }
ref_seconds=$(best_seconds md5sum "$work/big.bin")
ref_digest=$(md5sum "$work/big.bin" | cut -d' ' -f1 | tr a-f A-F)
[ "$our_digest" = "$ref_digest" ] || { echo "digest mismatch: $our_digest vs $ref_digest"; exit 1; }
echo "fileDigest: $(mbps "$bytes" "$our_seconds") MB/s"
echo "md5sum:     $(mbps "$bytes" "$ref_seconds") MB/s"
echo "ratio (fileDigest / md5sum speed): $(awk -v a="$ref_seconds" -v b="$our_seconds" 'BEGIN { printf "%.2f", a / b }')"
