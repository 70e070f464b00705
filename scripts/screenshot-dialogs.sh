#!/usr/bin/env bash
# Takes a picture of each dialog of the desktop program, filled with sample data, on a virtual
# display: scripts/screenshot-dialogs.sh OUTPUT_DIRECTORY [BUILD_DIRECTORY]
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 1 ]]; then
  echo "usage: $0 OUTPUT_DIRECTORY [BUILD_DIRECTORY]" >&2
  exit 2
fi
output=$(realpath -m "$1")
build=${2:-build/screenshots}

if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_BUILD_BENCH=OFF
fi
cmake --build "$build" --target tw_dialog_screenshots

mkdir -p "$output"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24" \
  "$build/tools/dialog-screenshots/tw_dialog_screenshots" "$output"
