#!/usr/bin/env bash
# Runs COMMAND with two virtual V4L2 devices present ("Virtual Camera" at /dev/video40 and
# "Virtual Capture Card" at /dev/video41), built first if missing:
#   scripts/virtual-camera.sh build/capture-station
# Faults on demand: CS_VCAM_FAULTS="unplug Virtual Camera" or "busy", or name a file in
# CS_VCAM_CONTROL and write those words into it while COMMAND runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi
build="$root/build"
lib="$build/tests/support/libcs-virtual-camera.so"
if [ ! -f "$lib" ]; then
  [ -f "$build/build.ninja" ] || "$root/scripts/setup.sh" "$build"
  cmake --build "$build" --target cs_virtual_camera
fi
export LD_PRELOAD="$lib${LD_PRELOAD:+:$LD_PRELOAD}"
exec "$@"
