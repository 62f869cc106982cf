#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs each for a bounded time, starting
# from a copy of its committed corpus. Fails when a target finds a crash, a broken property,
# a leak, a sanitizer error or a hang; the input that did it is kept under build/fuzz/run/.
#   scripts/fuzz.sh [SECONDS]   seconds per target (default: LOBBEX_FUZZ_SECONDS or 60)
#   scripts/fuzz.sh --merge [SECONDS]
#                               then adds the inputs that reach new code to fuzz/corpus/
#                               (minimised), to be committed
set -euo pipefail
cd "$(dirname "$0")/.."
merge=0
if [ "${1:-}" = --merge ]; then
    merge=1
    shift
fi
seconds=${1:-${LOBBEX_FUZZ_SECONDS:-60}}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

failed=()
while IFS=$'\t' read -r name program corpus; do
    run=build/fuzz/run/$name
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/artifacts"
    cp -R "$corpus"/. "$run/corpus/"
    echo "fuzz: $name for ${seconds} s"
    if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1 </dev/null; then
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$run/log" | sed "s/^/fuzz: $name: /"
        if [ "$merge" = 1 ]; then
            "$program" -merge=1 "$corpus" "$run/corpus" >>"$run/log" 2>&1 </dev/null
        fi
    else
        tail -n 40 "$run/log" || true
        echo "fuzz: $name FAILED; the input is in $run/artifacts/, the log in $run/log"
        failed+=("$name")
    fi
done <build/fuzz/fuzzers.txt

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: failed: ${failed[*]}"
    exit 1
fi
echo "fuzz: every target ran ${seconds} s without a finding"
