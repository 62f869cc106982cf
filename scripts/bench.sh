#!/usr/bin/env bash
# Prints the launcher's speed figures beside reference tools measured in the same run.
#   scripts/bench.sh [digest|download|check|startup|update]   all benchmarks, or one
# The start-up and update figures need a display: scripts/with-display.sh scripts/bench.sh [startup|update]
# Needs a built test preset (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$(./scripts/test-preset.sh)
build=build/$preset
cmake --build --preset "$preset" >/dev/null
run="$build/wine-run"
work=$(mktemp -d /tmp/lobbex-bench.XXXXXX)
chmod 755 "$work"  # nginx workers run as another user
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

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

only=${1:-all}
echo "$(nproc) cores; $preset build"

if [ "$only" = all ] || [ "$only" = digest ]; then
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
echo "ratio (fileDigest / md5sum speed): $(ratio "$ref_seconds" "$our_seconds")"
rm -f "$work/big.bin"
fi

if [ "$only" = all ] || [ "$only" = download ]; then
echo "== Download of one 256 MiB file from nginx on 127.0.0.1"
mkdir -p "$work/www"
head -c $((256 << 20)) /dev/urandom >"$work/www/big.bin"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 64; }
http {
    access_log off;
    sendfile on;
    client_body_temp_path $work/tmp;
    proxy_temp_path $work/tmp;
    fastcgi_temp_path $work/tmp;
    uwsgi_temp_path $work/tmp;
    scgi_temp_path $work/tmp;
    server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
mkdir -p "$work/tmp"
nginx -c "$work/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
trap 'kill "$nginx_pid" 2>/dev/null; "$run" --shutdown; rm -rf "$work"' EXIT
for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
bytes=$(stat -c %s "$work/www/big.bin")
best=1e9
for _ in 1 2 3; do
    out=$("$run" "$build/bench/download_bench.exe" "http://127.0.0.1:$port/big.bin" "$work/got.bin" | tr -d '\r')
    seconds=${out##* }
    best=$(awk -v a="$seconds" -v b="$best" 'BEGIN { print (a < b ? a : b) }')
done
cmp -s "$work/got.bin" "$work/www/big.bin" || { echo "download differs from the original"; exit 1; }
ref_seconds=$(best_seconds curl -s -o "$work/curl.bin" "http://127.0.0.1:$port/big.bin")
echo "downloadFile: $(mbps "$bytes" "$best") MB/s"
echo "curl:         $(mbps "$bytes" "$ref_seconds") MB/s"
echo "ratio (downloadFile / curl speed): $(ratio "$ref_seconds" "$best")"
rm -rf "$work/www" "$work/got.bin" "$work/curl.bin"
kill "$nginx_pid" 2>/dev/null || true
wait "$nginx_pid" 2>/dev/null || true
fi

if [ "$only" = all ] || [ "$only" = check ]; then
echo "== Check of a 1 GiB installation of about 2000 files"
python3 - "$work/install" <<'PY'
import hashlib, os, random, sys
root = sys.argv[1]
random.seed(7)
sizes = [120 << 20, 110 << 20, 100 << 20, 100 << 20]      # a few large files
sizes += [0] * 12                                         # some empty ones
left = (1 << 30) - sum(sizes)
small = 1984
sizes += [left // small] * (small - 1) + [left - (left // small) * (small - 1)]
lines = ["[VERSION]", "2.0", "[PatchList]"]
chunk = os.urandom(1 << 20)
for i, size in enumerate(sizes):
    rel = os.path.join("data%02d" % (i % 40), "file%04d.bin" % i)
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    md5 = hashlib.md5()
    with open(path, "wb") as f:
        done = 0
        while done < size:
            n = min(len(chunk), size - done)
            piece = chunk[:n] if i % 2 else chunk[-n:]
            piece = bytes([i % 256]) + piece[1:] if n else piece
            f.write(piece)
            md5.update(piece)
            done += n
    lines.append("File,%s,%d,%s" % (rel.replace("/", "\\"), size, md5.hexdigest().upper()))
with open(os.path.join(root, "patchlist.src"), "w", newline="") as f:
    f.write("\r\n".join(lines) + "\r\n")
PY
files=$(find "$work/install" -name '*.bin' | wc -l)
total=$(du -sb "$work/install" | cut -f1)
runs=5
# "best median" of the seconds given one a line.
best_and_median() { sort -g | awk '{ t[NR] = $1 } END { m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; print t[1], m }'; }
"$run" "$build/bench/check_bench.exe" "$work/install" >/dev/null  # warm the page cache and Wine
md5sum_all() { find "$work/install" -name '*.bin' -print0 | xargs -0 md5sum; }
# The two take turns, so that whatever else the machine does falls on both alike.
check_times=""
ref_times=""
for _ in $(seq "$runs"); do
    out=$("$run" "$build/bench/check_bench.exe" "$work/install" | tr -d '\r')
    queued=${out%% *}
    [ "$queued" = 0 ] || { echo "the check queued $queued files of a current installation"; exit 1; }
    check_times+="${out##* }"$'\n'
    start=$(date +%s.%N)
    md5sum_all >/dev/null
    end=$(date +%s.%N)
    ref_times+=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')$'\n'
done
read -r best median < <(printf '%s' "$check_times" | best_and_median)
read -r ref_best ref_median < <(printf '%s' "$ref_times" | best_and_median)
echo "$files files, $total bytes, $(nproc) processors, $runs runs each"
echo "checkFiles:         best $best s, median $median s"
echo "sequential md5sum:  best $ref_best s, median $ref_median s"
echo "ratio (checkFiles / md5sum time): best $(ratio "$best" "$ref_best"), median $(ratio "$median" "$ref_median")"
fi

if [ "$only" = all ] || [ "$only" = startup ]; then
echo "== Start-up of the installed launcher on an up-to-date installation (nginx on 127.0.0.1)"
if [ -z "${DISPLAY:-}" ]; then
    echo "no display: run it as scripts/with-display.sh scripts/bench.sh startup"
    [ "$only" = all ] || exit 1
else
cmake --preset host >/dev/null
cmake --build --preset host --target lobbex-publish >/dev/null
source scripts/lib/launcher-install.sh
trap 'stop_update_server; "$run" --shutdown; rm -rf "$work"' EXIT
install_current_launcher "$build" "$work"
launcher=$("$run" winepath -w "$work/Lobbex/LobbexLauncher.exe" 2>/dev/null | tr -d '\r')
bare=$("$run" winepath -w "$build/bench/bare_window.exe" 2>/dev/null | tr -d '\r')
"$run" "$build/bench/startup_bench.exe" 1 "first paint" "$bare" >/dev/null  # warm Wine up
"$run" "$build/bench/startup_bench.exe" 1 "first paint,update finished" "$launcher" >/dev/null
ours=$("$run" "$build/bench/startup_bench.exe" 11 "first paint,update finished" "$launcher" | tr -d '\r')
ref=$("$run" "$build/bench/startup_bench.exe" 11 "first paint" "$bare" | tr -d '\r')
echo "$ours" | sed 's/^/launcher /'
echo "$ref" | sed 's/^/bare Win32 window /'
ours_paint=$(echo "$ours" | sed -n 's/^first paint: best \([0-9]*\) ms.*/\1/p')
ref_paint=$(echo "$ref" | sed -n 's/^first paint: best \([0-9]*\) ms.*/\1/p')
ours_median=$(echo "$ours" | sed -n 's/^first paint: .*median \([0-9]*\) ms.*/\1/p')
ref_median=$(echo "$ref" | sed -n 's/^first paint: .*median \([0-9]*\) ms.*/\1/p')
echo "ratio (launcher / bare window time to first paint): $(ratio "$ours_paint" "$ref_paint")" \
    "(of the medians: $(ratio "$ours_median" "$ref_median"))"
fi
fi

if [ "$only" = all ] || [ "$only" = update ]; then
echo "== Update of an out-of-date installation from a server 20 ms away (nginx on 127.0.0.1)"
if [ -z "${DISPLAY:-}" ]; then
    echo "no display: run it as scripts/with-display.sh scripts/bench.sh update"
    [ "$only" = all ] || exit 1
else
# Every answer of the server begins 20 ms after its request, as from a distant server; the
# bytes then come at loopback speed. The launcher is timed from its start to "update finished"
# on an installation of 1.0 without the release's files; the reference is curl fetching the
# same list and files, four transfers at a time over kept-alive connections.
# Goal: ratio <= 1.2 in both cases.
cmake --preset host >/dev/null
cmake --build --preset host --target lobbex-publish >/dev/null
source scripts/lib/delayed-server.sh
source scripts/lib/launcher-install.sh
trap 'stop_delayed_server; [ -z "${update_server_pid:-}" ] || stop_update_server; "$run" --shutdown; rm -rf "$work"' EXIT
delay_ms=20

# Whether every file of release folder $1 is in folder $2 as released.
same_files() {
    local file
    while IFS= read -r -d '' file; do
        cmp -s "$1/$file" "$2/$file" || { echo "$file"; return 1; }
    done < <(cd "$1" && find . -type f -print0)
}

# update_case LABEL FILL: FILL FOLDER writes the case's game files into a release folder.
update_case() {
    local label=$1 fill=$2
    local dir="$work/update"
    rm -rf "$dir"
    mkdir -p "$dir/release"
    chmod 755 "$dir"
    echo "-- $label"
    start_delayed_server "$dir/site" "$dir" "$delay_ms"
    write_configuration "$dir/release" "$DELAYED_SERVER_URL" 2.0
    rm -f "$dir/release/data/FrameVersion.ini"
    "$fill" "$dir/release"
    build/host/publisher/lobbex-publish --quiet --version 2.0 "$dir/release" "$dir/site" >/dev/null

    # curl asks for what the launcher asks for: the list, then each file under GameClient/.
    {
        echo "url = \"$DELAYED_SERVER_URL/patchlist.dat\""
        echo "output = \"$dir/curl/patchlist.dat\""
        (cd "$dir/release" && find . -type f | sort) | while IFS= read -r file; do
            echo "url = \"$DELAYED_SERVER_URL/GameClient/${file#./}\""
            echo "output = \"$dir/curl/${file#./}\""
        done
    } >"$dir/curl.conf"

    local launcher best=1e9 paint out ms before after launcher_requests missing
    for _ in 1 2 3; do
        install_launcher "$build" "$dir/Lobbex" "$DELAYED_SERVER_URL" 1.0
        launcher=$("$run" winepath -w "$dir/Lobbex/LobbexLauncher.exe" 2>/dev/null | tr -d '\r')
        before=$(served_requests "$dir")
        out=$("$run" "$build/bench/startup_bench.exe" 1 "first paint,update finished" "$launcher" | tr -d '\r') || {
            echo "the launcher did not reach \"update finished\""
            exit 1
        }
        after=$(served_requests "$dir")
        launcher_requests="$((after - before)) requests, connections: $(served_connections "$dir" $((before + 1)))"
        ms=$(echo "$out" | sed -n 's/^update finished: best \([0-9]*\) ms.*/\1/p')
        if awk -v a="$ms" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$ms
            paint=$(echo "$out" | sed -n 's/^first paint: best \([0-9]*\) ms.*/\1/p')
        fi
        missing=$(same_files "$dir/release" "$dir/Lobbex") || {
            echo "the update left $missing other than released"
            exit 1
        }
    done

    local ref_best=1e9 start end curl_requests
    for _ in 1 2 3; do
        rm -rf "$dir/curl"
        before=$(served_requests "$dir")
        start=$(date +%s.%N)
        curl -sS --no-progress-meter --fail --create-dirs --parallel --parallel-max 4 -K "$dir/curl.conf"
        end=$(date +%s.%N)
        after=$(served_requests "$dir")
        curl_requests="$((after - before)) requests, connections: $(served_connections "$dir" $((before + 1)))"
        ref_best=$(echo "$start $end $ref_best" | awk '{d = $2 - $1; print (d < $3 ? d : $3)}')
    done
    missing=$(same_files "$dir/release" "$dir/curl") || {
        echo "curl fetched $missing other than released"
        exit 1
    }

    local delayed served
    delayed=$(delayed_requests "$dir")
    served=$(served_requests "$dir")
    [ "$delayed" = "$served" ] || {
        echo "only $delayed of the $served requests were held back $delay_ms ms"
        exit 1
    }
    stop_delayed_server
    local seconds
    seconds=$(awk -v ms="$best" 'BEGIN { printf "%.2f", ms / 1000 }')
    echo "launcher: $seconds s ($launcher_requests; its window painted first after $(awk -v ms="$paint" 'BEGIN { printf "%.2f", ms / 1000 }') s)"
    echo "curl:     $(awk -v s="$ref_best" 'BEGIN { printf "%.2f", s }') s ($curl_requests)"
    echo "ratio (launcher / curl time): $(ratio "$seconds" "$ref_best")"
    rm -rf "$dir"
}

small_files() {
    python3 - "$1" <<'PY'
import os, sys
for i in range(400):
    folder = os.path.join(sys.argv[1], "res", "pack%02d" % (i // 50))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%03d.bin" % i), "wb") as f:
        f.write(os.urandom(64 << 10))
PY
}

one_big_file() {
    mkdir -p "$1/res"
    head -c $((256 << 20)) /dev/urandom >"$1/res/big.bin"
}

update_case "400 files of 64 KiB" small_files
update_case "one 256 MiB file" one_big_file
fi
fi
