#!/usr/bin/env bash
# Takes a screenshot of the running station in each shipped skin into docs/screens/<Skin>.png,
# on a virtual display under a window manager. The station is started once, in its start-up
# skin; every other skin is reached as a user reaches it: right-click the window, "Change
# Skin", the skin's item. Play is pressed in each skin so the shot shows the live test pattern.
# In the start-up skin it also records a few seconds through the save dialog (Recording.png:
# the recording indicator and the sound meter) and opens the Live Stream dialog
# (LiveStream.png). Last it starts again with the virtual camera and opens the Camera
# Controls dialog from the right-click menu (CameraControls.png).
# Needs a build (scripts/setup.sh).
#   scripts/screenshots.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out="$root/docs/screens"
skins="$build/skins"
mkdir -p "$out"
work=$(mktemp -d)
export DISPLAY=:$(( 150 + RANDOM % 50 ))
export HOME=$work  # the window manager and the station keep nothing of the user's
app="" wm=""
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_until() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

wait_until 200 xwininfo -root || { echo "Xvfb did not start" >&2; exit 1; }
openbox >/dev/null 2>&1 &
wm=$!
wait_until 100 wm_running || { echo "openbox did not start" >&2; exit 1; }

# A window's geometry as WxH+X+Y, empty while it is not mapped; the main window by default.
window_geometry() {
  xwininfo -name "${1:-Capture Station}" 2>/dev/null |
    awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
         /Width:/{w=$NF} /Height:/{h=$NF} END{if (w) print w"x"h"+"x"+"y}' || true
}
window_mapped() { [ -n "$(window_geometry)" ]; }

# Centre of an entry's rectangle in a package's Skin.ini, in screen pixels:
#   centre <package> <entry start, e.g. "1=BUTTON_PLAY,"> <first rectangle field>
centre() {
  local rect l t r b geometry x y
  rect=$(unzip -p "$skins/$1" Skin.ini | tr -d '\r' | grep -m1 -- "$2" |
         cut -d, -f"$3"-$(( $3 + 3 )))
  IFS=, read -r l t r b <<<"$rect"
  geometry=$(window_geometry)
  x=${geometry#*+}; y=${x#*+}; x=${x%+*}
  echo "$(( x + (l + r) / 2 )) $(( y + (t + b) / 2 ))"
}

# Grabs a window (by its title; the main window by default) into docs/screens/<name>.png.
grab() {
  local name=$1 geometry size offset
  geometry=$(window_geometry "${2:-}")
  size=${geometry%%+*}; offset=${geometry#*+}
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size "$size" -i "$DISPLAY+${offset/+/,}" \
         -frames:v 1 "$out/$name.png"
  echo "$out/$name.png"
}

# Presses the skin's Play button, lets the preview run and grabs the window.
shoot() {
  local package=$1 name=$2
  xdotool mousemove $(centre "$package" '=BUTTON_PLAY,' 3) click 1
  xdotool mousemove $(centre "$package" 'CAPTION=' 2)  # off the buttons: no hover look
  sleep 2  # the preview runs a while and the window repaints
  grab "$name"
}

# Waits for a window with the given title and gives it the keyboard.
focus_window() {
  local id
  wait_until 100 xdotool search --onlyvisible --name "^$1\$" || { echo "no \"$1\" window" >&2; exit 1; }
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
  sleep 0.5  # the dialog finishes painting and its first field takes the focus
}

# Started in an empty folder, the station takes its start-up skin from the installed skins.
(cd "$work" && exec "$build/capture-station") &
app=$!
wait_until 100 window_mapped || { echo "the station's window did not appear" >&2; exit 1; }
sleep 1  # the window manager places the window after it first maps
shoot Blue.skn Start

# Record: the save dialog opens in the Videos folder; the user types a name and presses Enter.
xdotool mousemove $(centre Blue.skn '=BUTTON_CONVERT,' 3) click 1
focus_window "Save As"
xdotool type --delay 20 "First recording"
xdotool key Return
wait_until 100 test -s "$work/Videos/First recording.flv" ||
  { echo "the recording did not start" >&2; exit 1; }
xdotool mousemove $(centre Blue.skn 'CAPTION=' 2)
sleep 4  # the indicator's clock runs
# The test tone beeps for a tenth of every second: of a burst of grabs keep the one whose
# lower-left corner of the video (where the meter sits) is most colourful, so the meter shows.
geometry=$(window_geometry); size=${geometry%%+*}; offset=${geometry#*+}
IFS=, read -r cl ct cr cb <<<"$(unzip -p "$skins/Blue.skn" Skin.ini | tr -d '\r' |
                                 grep -m1 '^CONTROL=' | cut -d= -f2)"
ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -framerate 20 -video_size "$size" \
       -i "$DISPLAY+${offset/+/,}" -frames:v 30 "$work/burst-%02d.png"
best=$(ffmpeg -loglevel error -i "$work/burst-%02d.png" \
         -vf "crop=$(( (cr - cl) / 2 )):48:$cl:$(( cb - 48 )),signalstats,metadata=print:key=lavfi.signalstats.SATAVG:file=-" \
         -f null - | awk -F= '/SATAVG/ {n++; if ($2 > max) {max = $2; best = n}} END {print best}')
cp "$work/$(printf 'burst-%02d.png' "$best")" "$out/Recording.png"
echo "$out/Recording.png"
xdotool mousemove $(centre Blue.skn '=BUTTON_STOP,' 3) click 1
sleep 1

# Go live, the first time: the Live Stream dialog asks where to.
xdotool mousemove $(centre Blue.skn '=BUTTON_STREAM,' 3) click 1
focus_window "Live Stream"
xdotool type --delay 20 "rtmp://live.example.com/app"
xdotool key Tab
xdotool type --delay 20 "my-stream-key"
sleep 0.5
grab LiveStream "Live Stream"
xdotool key Escape
sleep 0.5

# The Change Skin items with their packages and mnemonics, in menu order.
previous="$out/Start.png"
current_package=Blue.skn
for item in Orange:o Black:b Purple:p Blue:u Red:r Gray:g Pink:i Deluxe:d; do
  name=${item%%:*}; key=${item#*:}
  # Right-click the caption (the background under it), then "&Change Skin", then the item.
  xdotool mousemove $(centre "$current_package" 'CAPTION=' 2) click 3
  sleep 1
  xdotool key c
  sleep 1
  xdotool key "$key"
  sleep 1.5  # the new skin is extracted, built and painted
  current_package=$name.zip
  shoot "$current_package" "$name"
  if cmp -s "$previous" "$out/$name.png"; then
    echo "$name: the window did not change; Change Skin did not reach it" >&2
    exit 1
  fi
  previous="$out/$name.png"
done

# The virtual camera's own controls, through the right-click menu as a user opens them.
kill $app 2>/dev/null || true
wait $app 2>/dev/null || true
(cd "$work" && exec "$root/scripts/virtual-camera.sh" "$build/capture-station") &
app=$!
wait_until 100 window_mapped || { echo "the station's window did not appear" >&2; exit 1; }
sleep 1
xdotool mousemove $(centre Blue.skn 'CAPTION=' 2) click 3
sleep 1
xdotool key o
focus_window "Camera Controls"
grab CameraControls "Camera Controls"
