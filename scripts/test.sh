#!/usr/bin/env bash
# The one test command: installs what is missing, checks that the sources match .clang-format
# and that each folder of src/ includes only its own layer and those below
# (scripts/check-layers.sh), configures fresh builds, builds with warnings as errors and runs
# every test, runs clang-tidy over src/ (scripts/check-tidy.sh); then builds the core tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer and runs them, and the tests of
# counting on several threads under ThreadSanitizer; runs each fuzz target for a minute
# (scripts/fuzz.sh); then builds the Debian package and checks what it installs
# (scripts/check-package.sh). Each phase begins with a header line that names it and the time
# spent so far.
set -euo pipefail
cd "$(dirname "$0")/.."

phases=8
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
tsan=build/ci-tsan

begin "format and layering: the sources against .clang-format, the includes against the layers"
bash scripts/check-format.sh
bash scripts/check-layers.sh

begin "build: warnings as errors, in $build"
rm -rf "$build" "$asan" "$tsan"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_WERROR=ON
cmake --build "$build" -j "$jobs"

begin "tests: every test of the build"
# The desktop tests need no display: Qt draws off screen.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$jobs"

begin "clang-tidy: the checks of .clang-tidy over src/"
bash scripts/check-tidy.sh "$build"

begin "sanitizers: the core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_WERROR=ON -DTW_SANITIZE=ON \
  -DTW_CORE_ONLY=ON -DTW_BUILD_BENCH=OFF
cmake --build "$asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$asan" --output-on-failure -j "$jobs" -L core

begin "threads: the count runner and the desktop's count run under ThreadSanitizer"
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_WERROR=ON -DTW_TSAN=ON \
  -DTW_BUILD_BENCH=OFF
cmake --build "$tsan" -j "$jobs" --target tw_project_tests CountRunTest
# The memory budget test is left out: the tool's shadow memory is counted in the peak.
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan-suppressions.txt" \
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$tsan" --output-on-failure -j "$jobs" \
  -R '^(CountRunnerTest\.|CountRunTest$)' -E 'WithinTheBudget'

begin "fuzz: each fuzz target for a minute"
# Each fuzz target for a short while, on top of its seeds and every input that once failed; a
# finding fails the run.
bash scripts/fuzz.sh "${TW_FUZZ_SECONDS:-60}"

begin "package: the Debian package, built and checked"
TW_TEST_DRIVER="$build/tests/ui/tallyweaver-test-driver" bash scripts/check-package.sh build/ci-package

printf '\ntest.sh: all tests passed in %dm%02ds\n' $((SECONDS / 60)) $((SECONDS % 60))
