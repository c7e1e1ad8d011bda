#!/bin/sh
# Hands the station's live stream on to many viewers: an nginx RTMP server that takes the
# stream, serves it as HLS over HTTP, and pushes it on to further RTMP servers if asked.
# Runs in the foreground until stopped (Ctrl+C); everything it writes stays in its folder.
#
#   scripts/relay.sh [--listen ADDRESS] [--rtmp-port N] [--http-port N] [--dir FOLDER]
#                    [--push rtmp://server/app/key]...
set -eu

listen=0.0.0.0
rtmp_port=1935
http_port=8080
dir=
pushes=
nginx=/usr/sbin/nginx
module=/usr/lib/nginx/modules/ngx_rtmp_module.so

usage() { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit "$1"; }
while [ $# -gt 0 ]; do
    case "$1" in
        --listen) listen=$2; shift 2 ;;
        --rtmp-port) rtmp_port=$2; shift 2 ;;
        --http-port) http_port=$2; shift 2 ;;
        --dir) dir=$2; shift 2 ;;
        --push)
            case "$2" in rtmp://*) ;; *) echo "relay: --push takes an rtmp:// address" >&2; exit 2 ;; esac
            pushes="$pushes    push $2;
"
            shift 2 ;;
        -h|--help) usage 0 ;;
        *) echo "relay: unknown option $1" >&2; usage 2 ;;
    esac
done
for port in "$rtmp_port" "$http_port"; do
    case "$port" in ''|*[!0-9]*) echo "relay: \"$port\" is not a port number" >&2; exit 2 ;; esac
done
if [ ! -x "$nginx" ] || [ ! -f "$module" ]; then
    echo "relay: needs nginx and its RTMP module: sudo apt-get install nginx libnginx-mod-rtmp" >&2
    exit 1
fi
[ -n "$dir" ] || dir=$(mktemp -d "${TMPDIR:-/tmp}/cs-relay-XXXXXX")
mkdir -p "$dir/hls" "$dir/logs"
dir=$(cd "$dir" && pwd)
case "$dir" in *[[:space:]]*) echo "relay: the folder may not contain blanks: $dir" >&2; exit 2 ;; esac

# Segments of two seconds, a playlist of the last ten: a viewer is about six seconds behind.
cat > "$dir/nginx.conf" <<CONF
load_module $module;
daemon off;
master_process off;
error_log $dir/logs/error.log warn;
pid $dir/nginx.pid;
events { worker_connections 1024; }
rtmp {
  server {
    listen $listen:$rtmp_port;
    chunk_size 4096;
    application live {
      live on;
      hls on;
      hls_path $dir/hls;
      hls_fragment 2s;
      hls_playlist_length 10s;
      hls_cleanup on;
$pushes    }
  }
}
http {
  access_log off;
  client_body_temp_path $dir/tmp;
  proxy_temp_path $dir/tmp;
  fastcgi_temp_path $dir/tmp;
  uwsgi_temp_path $dir/tmp;
  scgi_temp_path $dir/tmp;
  server {
    listen $listen:$http_port;
    location /hls/ {
      alias $dir/hls/;
      types { application/vnd.apple.mpegurl m3u8; video/mp2t ts; }
      add_header Cache-Control no-cache;
      add_header Access-Control-Allow-Origin *;
    }
  }
}
CONF

echo "relay: stream to rtmp://HOST:$rtmp_port/live with any stream key, say KEY"
echo "relay: viewers open http://HOST:$http_port/hls/KEY.m3u8"
echo "relay: folder $dir; Ctrl+C stops"
exec "$nginx" -p "$dir" -c "$dir/nginx.conf" -e "$dir/logs/error.log"
