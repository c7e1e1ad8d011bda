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
    geometry=$(DISPLAY=$display xwininfo -name "Capture Station" 2>/dev/null |
               awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                    /Width:/{w=$NF} /Height:/{h=$NF} END{if (w) print w"x"h"+"x"+"y}') || true
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  sleep 2  # let the preview start and the window paint
  size=${geometry%%+*}; offset=${geometry#*+}
  ffmpeg -loglevel error -y -f x11grab -video_size "$size" -i "$display+${offset/+/,}" \
         -frames:v 1 "$out/$name.png"
  kill $app 2>/dev/null || true
  wait $app 2>/dev/null || true
  echo "$out/$name.png"
done
