#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy (each an error) over every source of src/ in a
# build's compile database: scripts/check-tidy.sh [BUILD_DIRECTORY] (default build/dev).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
tidy=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
if [[ -z "$tidy" ]]; then
    echo "check-tidy: run-clang-tidy is not installed (apt install clang-tidy)" >&2
    exit 1
fi
# The build's compiler is GCC: clang-tidy passes over the warning options only GCC knows.
"$tidy" -p "$build" -j "$(nproc)" -quiet -extra-arg=-Wno-unknown-warning-option \
    "$PWD/src/"
echo "check-tidy: src/ passes the checks of .clang-tidy"
