#!/usr/bin/env bash
# Takes a picture of the main window after it has counted this repository's sources, on a
# virtual display: scripts/screenshot-main-window.sh OUTPUT_FILE [BUILD_DIRECTORY]
#
# The picture is taken by the test driver (tests/ui/driver), the program with a command
# interpreter, driven through TALLYWEAVER_TEST_COMMANDS: it adds the source folders as Add
# Folder(s) would with the default extensions, counts them, selects the folder src/ui in the
# tree and grabs its own window. The shipped program cannot be driven this way.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 1 ]]; then
  echo "usage: $0 OUTPUT_FILE [BUILD_DIRECTORY]" >&2
  exit 2
fi
output=$(realpath -m "$1")
build=${2:-build/screenshots}
repository=$(pwd)

if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_BUILD_BENCH=OFF
fi
cmake --build "$build" --target tallyweaver-test-driver

mkdir -p "$(dirname "$output")"
rm -f "$output"
commands="add-folder $repository/src; add-folder $repository/tests; add-folder $repository/bench"
commands+="; count; select-folder $repository/src/ui; screenshot $output; close"
# A settings folder of its own, so the picture never depends on (or changes) the user's.
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$settings" XDG_CACHE_HOME="$settings" \
  TALLYWEAVER_TEST_COMMANDS="$commands" \
  xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tests/ui/tallyweaver-test-driver"

if [[ ! -s "$output" ]]; then
  echo "$0: no picture was taken" >&2
  exit 1
fi
echo "$output"
