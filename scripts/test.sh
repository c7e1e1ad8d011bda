#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (headless).
#   scripts/test.sh            the normal build
#   scripts/test.sh --sanitize an ASan+UBSan build in build-asan
#   scripts/test.sh --tsan     a ThreadSanitizer build in build-tsan
set -euo pipefail
skip=()
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  "$root/scripts/setup.sh" "$build" -DCS_SANITIZE=ON -DCS_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  # Qt, fontconfig and the graphics stack keep allocations for the life of the process; the
  # leak report at exit would fail every test and every helper program the tests start.
  export ASAN_OPTIONS=detect_leaks=0
elif [ "${1:-}" = "--tsan" ]; then
  build="$root/build-tsan"
  "$root/scripts/setup.sh" "$build" -DCS_TSAN=ON -DCS_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
  # Qt, FFmpeg and the sound libraries are not built with it; tsan.supp says why their
  # reports are dropped. Any other report ends the test that caused it.
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/scripts/tsan.supp"
  # The Wayland window test runs a helper program whose every report lies in Qt's Wayland
  # client, libwayland and Mesa, down to Qt freeing its display at exit: none of our threads
  # are in it, and those libraries cannot be suppressed while they load and unload at run time.
  skip=(-E '^ShapedWindowOnWayland\.')
else
  build="$root/build"
  "$root/scripts/setup.sh" "$build"
fi
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 --timeout 300 "${skip[@]}"
