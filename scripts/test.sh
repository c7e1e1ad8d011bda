#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite (headless).
#   scripts/test.sh            the normal build
#   scripts/test.sh --sanitize an ASan+UBSan build in build-asan
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  "$root/scripts/setup.sh" "$build" -DCS_SANITIZE=ON -DCS_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
else
  build="$root/build"
  "$root/scripts/setup.sh" "$build"
fi
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 --timeout 300
