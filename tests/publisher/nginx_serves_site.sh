#!/usr/bin/env bash
# Publishes a release with Chinese and other awkward names, serves the site on 127.0.0.1 with
# nginx and the operators' configuration, and asks for every file the ways launchers do: in
# code page 936 bytes, raw (as WinINet sends them under Wine) and percent-encoded, and in
# UTF-8. Then publishes the next release and checks that the running server serves it.
#   nginx_serves_site.sh LOBBEX_PUBLISH NGINX CONFIGURATION [BASE_PATH]
# BASE_PATH: the path of the update base URL that the configuration serves (such as /lobbex).
set -euo pipefail
export LC_ALL=C.UTF-8
publish=$1
nginx=$2
configuration=$3
base=${4:-}

work=$(mktemp -d /tmp/lobbex-nginx-test.XXXXXX)
nginx_pid=
cleanup() {
    if [ -n "$nginx_pid" ]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/error.log" ] && sed 's/^/nginx: /' "$work/error.log" >&2
    exit 1
}

# The release: each file holds its own name, so a wrong file cannot pass for the right one.
names=(
    "说明.txt"
    "数据/中文 名称 (第1版).dat"
    "数据/符号+&;=!~@\$'[x]{y}^\`.bin"
    "乛乕乚乣乄乇乊乞乂/丅.txt"
    "a/b/c/deep.txt"
)
for name in "${names[@]}"; do
    mkdir -p "$work/release/$(dirname "$name")"
    printf '%s' "$name" >"$work/release/$name"
done
: >"$work/release/empty.txt"
printf 'patch' >"$work/p1.pak"
# A signed site, with a key kept beside it (never inside it).
openssl ecparam -name prime256v1 -genkey -noout -out "$work/key.pem"
openssl ec -in "$work/key.pem" -pubout -out "$work/key.pub" 2>/dev/null
"$publish" --quiet --version 1.0 --patch "1.0=$work/p1.pak" --base-url http://127.0.0.1:65535 \
    --sign-key "$work/key.pem" "$work/release" "$work/site" >/dev/null

# nginx in the foreground as one process, everything it writes in the scratch folder.
mkdir -p "$work/temp"
start_nginx() {
    local port=$1
    sed -e "s|listen 80;|listen 127.0.0.1:$port;|" -e "s|/srv/lobbex-update/current|$work/site/current|g" \
        "$configuration" >"$work/site.conf"
    grep -q "listen 127.0.0.1:$port;" "$work/site.conf" && grep -q "$work/site/current" "$work/site.conf" ||
        fail "the configuration no longer has the lines this test replaces"
    cat >"$work/nginx.conf" <<CONF
daemon off;
master_process off;
error_log $work/error.log;
pid $work/nginx.pid;
events { worker_connections 64; }
http {
    access_log $work/access.log;
    client_body_temp_path $work/temp/body;
    proxy_temp_path $work/temp/proxy;
    fastcgi_temp_path $work/temp/fastcgi;
    uwsgi_temp_path $work/temp/uwsgi;
    scgi_temp_path $work/temp/scgi;
    include $work/site.conf;
}
CONF
    "$nginx" -p "$work" -c "$work/nginx.conf" -e "$work/error.log" &
    nginx_pid=$!
    # Ready when this nginx answers with this site's list (another server may hold the port).
    for _ in $(seq 50); do
        kill -0 "$nginx_pid" 2>/dev/null || break
        if curl -s -o "$work/ready" "http://127.0.0.1:$port$base/patchlist.dat" &&
            cmp -s "$work/ready" "$work/site/current/patchlist.dat" && kill -0 "$nginx_pid" 2>/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    kill "$nginx_pid" 2>/dev/null || true
    wait "$nginx_pid" 2>/dev/null || true
    nginx_pid=
    return 1
}
port=
for _ in 1 2 3 4 5 6 7 8; do
    candidate=$((20000 + RANDOM % 30000))
    if start_nginx "$candidate"; then
        port=$candidate
        break
    fi
done
[ -n "$port" ] || fail "nginx did not start"

# Percent-encodes every byte of each "/"-separated part.
percent() {
    local IFS=/ part out=
    for part in $1; do
        out+=${out:+/}$(printf '%s' "$part" | od -An -v -tx1 | tr -d ' \n' | sed 's/../%&/g')
    done
    printf '%s' "$out"
}
# Spaces are the one thing WinINet escapes.
raw() { printf '%s' "${1// /%20}"; }

# request TARGET: sends "GET TARGET" with the target's bytes exactly as given (curl would
# percent-encode them) and leaves the status in $status and the body in $work/body.
request() {
    exec 3<>"/dev/tcp/127.0.0.1/$port"
    printf 'GET %s%s HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' "$base" "$1" >&3
    cat <&3 >"$work/response"
    exec 3<&-
    local end
    # The headers end at the first empty line (mawk and gawk both take RS as a pattern).
    end=$(LC_ALL=C awk 'BEGIN { RS = "\r\n\r\n" } { print length($0); exit }' "$work/response")
    head -c 9 "$work/response" | grep -q '^HTTP/1\.' || fail "$1: no HTTP answer"
    head -c "$end" "$work/response" >"$work/headers"
    tail -c +$((end + 5)) "$work/response" >"$work/body"
    status=$(head -1 "$work/headers" | cut -d' ' -f2)
}
# get TARGET EXPECTED_FILE: the target must give the file.
get() {
    request "$1"
    [ "$status" = 200 ] || fail "$1: HTTP $status"
    cmp -s "$work/body" "$2" || fail "$1: not the content of $2"
}

served=$work/site/current
get /patchlist.dat "$served/patchlist.dat"
get /GameVersion/p1.pak "$work/p1.pak"
get /GameClient/empty.txt "$work/release/empty.txt"
for name in "${names[@]}"; do
    gbk=$(printf '%s' "$name" | iconv -f UTF-8 -t CP936)
    get "/GameClient/$(raw "$gbk")" "$work/release/$name"
    get "/GameClient/$(percent "$gbk")" "$work/release/$name"
    get "/GameClient/$(percent "$name")" "$work/release/$name"
    get "/GameClient/$(raw "$name")" "$work/release/$name"
done
# The raw requests really carried code page 936 bytes (nginx logs them escaped).
grep -q "GET $base/GameClient/\\\\xCB\\\\xB5\\\\xC3\\\\xF7.txt " "$work/access.log" ||
    fail "no raw code page 936 request seen"

# Nothing but the list and the files of the two folders is served.
for target in /.lobbex-publish.lock /releases/ / /GameClient/ /current/patchlist.dat; do
    request "$target"
    [ "$status" = 404 ] || [ "$status" = 403 ] || fail "$target: HTTP $status, expected 404 or 403"
done
# The list and its signature: what was published, always asked for again by caches.
for target in /patchlist.dat /patchlist.dat.sig /GameClient/empty.txt; do
    request "$target"
    grep -qi '^Cache-Control: no-cache' "$work/headers" || fail "$target is served without Cache-Control: no-cache"
    grep -qi '^Content-Type: application/octet-stream' "$work/headers" || fail "$target is not served as bytes"
done
get /patchlist.dat "$served/patchlist.dat"
cp "$work/body" "$work/served-list"
get /patchlist.dat.sig "$served/patchlist.dat.sig"
openssl dgst -sha256 -verify "$work/key.pub" -signature "$work/body" "$work/served-list" >/dev/null ||
    fail "the served signature does not verify the served list"
# A cache asking again gets "not modified" for a file that did not change.
request /GameClient/a/b/c/deep.txt
etag=$(grep -i '^ETag:' "$work/headers" | cut -d' ' -f2- | tr -d '\r')
[ -n "$etag" ] || fail "files are served without an ETag"
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET %s/GameClient/a/b/c/deep.txt HTTP/1.0\r\nHost: 127.0.0.1\r\nIf-None-Match: %s\r\n\r\n' "$base" "$etag" >&3
head -1 <&3 | grep -q ' 304 ' || fail "a request with the file's ETag is not answered 304"
exec 3<&-

# The next release is served by the running server at once.
printf 'second' >"$work/release/说明.txt"
"$publish" --quiet --version 2.0 "$work/release" "$work/site" >/dev/null
get "/GameClient/$(raw "$(printf '说明.txt' | iconv -f UTF-8 -t CP936)")" "$work/release/说明.txt"
request /patchlist.dat
sed -n 2p "$work/body" | grep -q '^2.0' || fail "the old list is still served"
request /patchlist.dat.sig
[ "$status" = 404 ] || fail "the unsigned release still serves the signature of the one before (HTTP $status)"
echo "nginx served every file in every form"
