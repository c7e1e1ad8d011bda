#!/usr/bin/env bash
# Sets up, builds and starts Capture Station. Without a display it starts it on a virtual
# one (Xvfb), saves a screenshot and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
exe="$root/build/capture-station"

if [ -n "${DISPLAY:-}" ]; then
  exec "$exe"
fi

shot="$root/build/screenshot.png"
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 200); do DISPLAY=$display xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display "$exe" &
app=$!
# Give the window time to map and paint, then grab the screen.
sleep 3
ffmpeg -loglevel error -y -f x11grab -video_size 1280x1024 -i "$display" -frames:v 1 "$shot"
echo "No display: Capture Station runs on the virtual display $display (pid $app)."
echo "Screenshot saved to $shot"
echo "Press Ctrl+C to stop it."
wait $app
