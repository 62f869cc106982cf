# Serves a lobbex-publish site as a distant update server would: the operators' nginx
# configuration (docs/nginx/lobbex-update.conf) on 127.0.0.1, with every answer held back
# before it begins. nginx asks a small local Python server first (auth_request), which waits
# and says yes; the files then go out with sendfile at full speed, and connections stay open
# between requests. Source it, then:
#   start_delayed_server SITE WORK DELAY_MS   serves SITE/current; sets DELAYED_SERVER_URL
#   delayed_requests WORK                     prints how many answers were held back so far
#   served_requests WORK                      prints how many requests nginx logged so far
#   served_connections WORK FIRST             prints over how many connections the requests
#                                             from the FIRST logged one (counting from 1) came
#   stop_delayed_server
# WORK is a scratch folder for nginx's and the Python server's files.

delayed_nginx_pid=
delayed_waiter_pid=
DELAYED_SERVER_URL=

start_delayed_server() {
    local site=$1 work=$2 delay_ms=$3
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    mkdir -p "$work/nginx-temp"
    # nginx's workers read the site as another user: the folders on the way must let them in.
    chmod o+rx "$work" "$site" 2>/dev/null || true
    rm -f "$work/waiter.port" "$work/waiter.log"

    # The waiter: one thread per request, so that parallel requests wait side by side.
    python3 - "$delay_ms" "$work/waiter.port" "$work/waiter.log" >/dev/null 2>&1 <<'PY' &
import http.server, os, sys, threading, time
delay = int(sys.argv[1]) / 1000.0
log = open(sys.argv[3], "a", buffering=1)
lock = threading.Lock()
class Waiter(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        time.sleep(delay)
        with lock:
            log.write("%s\n" % self.headers.get("X-Original-URI", "?"))
        self.send_response(204)
        self.end_headers()
    def log_message(self, *args):
        pass
class Server(http.server.ThreadingHTTPServer):
    request_queue_size = 128
server = Server(("127.0.0.1", 0), Waiter)
with open(sys.argv[2] + ".part", "w") as f:
    f.write("%d\n" % server.server_address[1])
os.rename(sys.argv[2] + ".part", sys.argv[2])
server.serve_forever()
PY
    delayed_waiter_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/waiter.port" ] && break
        sleep 0.05
    done
    if [ ! -s "$work/waiter.port" ]; then
        echo "the delaying server did not start" >&2
        return 1
    fi
    local waiter_port port
    waiter_port=$(cat "$work/waiter.port")
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

    # Every request that reaches a location of the site waits for the waiter's answer; what
    # the configuration refuses outright (404) goes out at once, as it would from afar too.
    sed -e "s|listen 80;|listen 127.0.0.1:$port;|" -e "s|/srv/lobbex-update/current|$site/current|g" \
        -e "s|^    autoindex off;|    autoindex off;\n\
    auth_request /lobbex-delay;\n\
    location = /lobbex-delay {\n\
        internal;\n\
        auth_request off;\n\
        proxy_pass http://127.0.0.1:$waiter_port;\n\
        proxy_pass_request_body off;\n\
        proxy_set_header Content-Length \"\";\n\
        proxy_set_header X-Original-URI \$request_uri;\n\
    }|" \
        "$root/docs/nginx/lobbex-update.conf" >"$work/site.conf"
    grep -q 'auth_request /lobbex-delay;' "$work/site.conf" || {
        echo "docs/nginx/lobbex-update.conf no longer has the line the delay goes after" >&2
        return 1
    }
    cat >"$work/nginx.conf" <<CONF
daemon off;
master_process off;
error_log $work/nginx-error.log;
pid $work/nginx.pid;
events { worker_connections 256; }
http {
    log_format lobbex_delayed '\$connection \$status \$request_uri';
    access_log $work/nginx-access.log lobbex_delayed;
    sendfile on;
    keepalive_timeout 75s;
    keepalive_requests 100000;
    client_body_temp_path $work/nginx-temp;
    proxy_temp_path $work/nginx-temp;
    fastcgi_temp_path $work/nginx-temp;
    uwsgi_temp_path $work/nginx-temp;
    scgi_temp_path $work/nginx-temp;
    include $work/site.conf;
}
CONF
    nginx -c "$work/nginx.conf" </dev/null >/dev/null 2>&1 &
    delayed_nginx_pid=$!
    DELAYED_SERVER_URL="http://127.0.0.1:$port"
    for _ in $(seq 100); do
        if curl -s -o /dev/null "$DELAYED_SERVER_URL/patchlist.dat"; then
            return 0
        fi
        sleep 0.1
    done
    echo "the delayed update server did not start:" >&2
    cat "$work/nginx-error.log" >&2 2>/dev/null || true
    return 1
}

delayed_requests() {
    wc -l <"$1/waiter.log"
}

served_requests() {
    wc -l <"$1/nginx-access.log"
}

served_connections() {
    tail -n "+$2" "$1/nginx-access.log" | cut -d' ' -f1 | sort -u | wc -l
}

stop_delayed_server() {
    local pid
    for pid in "$delayed_nginx_pid" "$delayed_waiter_pid"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    delayed_nginx_pid=
    delayed_waiter_pid=
}
