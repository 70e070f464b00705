#!/usr/bin/env bash
# The one test command: installs what is missing, checks that the sources match .clang-format,
# configures fresh builds, builds with warnings as errors and runs every test; then builds the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer and runs them; runs
# each fuzz target for a minute (scripts/fuzz.sh); then builds the Debian package and checks
# what it installs (scripts/check-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
bash scripts/check-format.sh

jobs=$(nproc)
build=build/ci
asan=build/ci-sanitize

rm -rf "$build" "$asan"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_WERROR=ON
cmake --build "$build" -j "$jobs"
# The desktop tests need no display: Qt draws off screen.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$jobs"

cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_WERROR=ON -DTW_SANITIZE=ON \
  -DTW_CORE_ONLY=ON -DTW_BUILD_BENCH=OFF
cmake --build "$asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$asan" --output-on-failure -j "$jobs" -L core

# Each fuzz target for a short while, on top of its seeds and every input that once failed; a
# finding fails the run.
bash scripts/fuzz.sh "${TW_FUZZ_SECONDS:-60}"

TW_TEST_DRIVER="$build/tests/ui/tallyweaver-test-driver" bash scripts/check-package.sh build/ci-package

echo "test.sh: all tests passed"
