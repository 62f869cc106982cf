# Runs the operators' nginx configuration (docs/nginx/lobbex-update.conf) on 127.0.0.1 as an
# ordinary foreground process, for the demo and the end-to-end tests. Source it, then:
#   start_update_server SITE WORK [RATE]   serves SITE/current; sets UPDATE_SERVER_URL
#   stop_update_server
# WORK is a scratch folder for nginx's files; RATE (optional, such as 4m) slows every download
# to that many bytes per second, so that an update can be watched.

update_server_pid=
UPDATE_SERVER_URL=

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

start_update_server() {
    local site=$1 work=$2 rate=${3:-}
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    local port
    port=$(free_port)
    mkdir -p "$work/nginx-temp"
    # nginx's workers read the site as another user: the folders on the way must let them in.
    chmod o+rx "$work" "$site" 2>/dev/null || true
    sed -e "s|listen 80;|listen 127.0.0.1:$port;|" -e "s|/srv/lobbex-update/current|$site/current|g" \
        "$root/docs/nginx/lobbex-update.conf" >"$work/site.conf"
    if [ -n "$rate" ]; then
        sed -i "s|^    autoindex off;|    autoindex off;\n    limit_rate $rate;|" "$work/site.conf"
    fi
    cat >"$work/nginx.conf" <<CONF
daemon off;
master_process off;
error_log $work/nginx-error.log;
pid $work/nginx.pid;
events { worker_connections 64; }
http {
    access_log $work/nginx-access.log;
    client_body_temp_path $work/nginx-temp;
    proxy_temp_path $work/nginx-temp;
    fastcgi_temp_path $work/nginx-temp;
    uwsgi_temp_path $work/nginx-temp;
    scgi_temp_path $work/nginx-temp;
    include $work/site.conf;
}
CONF
    nginx -c "$work/nginx.conf" </dev/null >/dev/null 2>&1 &
    update_server_pid=$!
    UPDATE_SERVER_URL="http://127.0.0.1:$port"
    for _ in $(seq 100); do
        if curl -s -o /dev/null "$UPDATE_SERVER_URL/patchlist.dat"; then
            return 0
        fi
        sleep 0.1
    done
    echo "update server did not start:" >&2
    cat "$work/nginx-error.log" >&2 2>/dev/null || true
    return 1
}

stop_update_server() {
    if [ -n "$update_server_pid" ]; then
        kill "$update_server_pid" 2>/dev/null || true
        wait "$update_server_pid" 2>/dev/null || true
        update_server_pid=
    fi
}
