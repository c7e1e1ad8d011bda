#!/usr/bin/env bash
# Takes a screenshot of the running station in each shipped skin, on a virtual display,
# into docs/screens/<Skin>.png. Needs a build (scripts/setup.sh).
#   scripts/screenshots.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out="$root/docs/screens"
mkdir -p "$out"
work=$(mktemp -d)
display=:$(( 150 + RANDOM % 50 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 200); do DISPLAY=$display xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

window_geometry() {
  DISPLAY=$display xwininfo -name "Capture Station" 2>/dev/null |
    awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
         /Width:/{w=$NF} /Height:/{h=$NF} END{if (w) print w"x"h"+"x"+"y}' || true
}

for package in Blue.skn Orange.zip Black.zip Purple.zip Blue.zip Red.zip Gray.zip Pink.zip Deluxe.zip; do
  name=${package%.*}
  [ "$package" = Blue.skn ] && name=Start
  # The station takes its start-up skin from the folder it starts in.
  rm -f "$work/Blue.skn"
  cp "$build/skins/$package" "$work/Blue.skn"
  (cd "$work" && DISPLAY=$display exec "$build/capture-station") &
  app=$!
  geometry=""
  for _ in $(seq 100); do
    geometry=$(window_geometry)
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  sleep 1  # the window is placed after it first maps
  geometry=$(window_geometry)
  # Press the skin's Play button so the shot shows the live test pattern.
  play=$(unzip -p "$work/Blue.skn" Skin.ini | tr -d '\r' | grep -m1 '=BUTTON_PLAY,' | cut -d, -f3-6)
  if [ -n "$play" ] && [ -n "$geometry" ]; then
    IFS=, read -r l t r b <<<"$play"
    x=${geometry#*+}; y=${x#*+}; x=${x%+*}
    DISPLAY=$display xdotool mousemove $(( x + (l + r) / 2 )) $(( y + (t + b) / 2 )) click 1 \
      mousemove $(( x + 5 )) $(( y + 5 ))
  fi
  sleep 2  # let the preview run and the window paint
  size=${geometry%%+*}; offset=${geometry#*+}
  ffmpeg -loglevel error -y -f x11grab -video_size "$size" -i "$display+${offset/+/,}" \
         -frames:v 1 "$out/$name.png"
  kill $app 2>/dev/null || true
  wait $app 2>/dev/null || true
  echo "$out/$name.png"
done
