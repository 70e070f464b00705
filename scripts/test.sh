#!/usr/bin/env bash
# The one test command: installs what is missing, checks that the sources match .clang-format
# and that each folder of src/ includes only its own layer and those below (scripts/check-layers.sh),
# configures fresh builds, builds with warnings as errors and runs every test; then builds the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer and runs them; runs
# each fuzz target for a minute (scripts/fuzz.sh); then builds the Debian package and checks
# what it installs (scripts/check-package.sh). Each phase begins with a header line that names
# it and the time spent so far.
set -euo pipefail
cd "$(dirname "$0")/.."

phases=5
phase=0
SECONDS=0
begin() {
    phase=$((phase + 1))
    printf '\n==== test.sh: phase %d of %d, %s (%dm%02ds so far)\n' \
        "$phase" "$phases" "$1" $((SECONDS / 60)) $((SECONDS % 60))
}

bash scripts/bootstrap.sh

jobs=$(nproc)
build=build/ci
asan=build/ci-sanitize

begin "format and layering: the sources against .clang-format, the includes against the layers"
bash scripts/check-format.sh
bash scripts/check-layers.sh

begin "build: warnings as errors, in $build"
rm -rf "$build" "$asan"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_WERROR=ON
cmake --build "$build" -j "$jobs"

begin "tests: every test of the build"
# The desktop tests need no display: Qt draws off screen.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$jobs"

begin "sanitizers: the core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_WERROR=ON -DTW_SANITIZE=ON \
  -DTW_CORE_ONLY=ON -DTW_BUILD_BENCH=OFF
cmake --build "$asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$asan" --output-on-failure -j "$jobs" -L core

begin "fuzz: each fuzz target for a minute"
# Each fuzz target for a short while, on top of its seeds and every input that once failed; a
# finding fails the run.
bash scripts/fuzz.sh "${TW_FUZZ_SECONDS:-60}"

begin "package: the Debian package, built and checked"
TW_TEST_DRIVER="$build/tests/ui/tallyweaver-test-driver" bash scripts/check-package.sh build/ci-package

printf '\ntest.sh: all tests passed in %dm%02ds\n' $((SECONDS / 60)) $((SECONDS % 60))
