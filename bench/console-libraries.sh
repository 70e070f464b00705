#!/usr/bin/env bash
# The start-up cost of a console run in a build with the desktop program: how many shared
# libraries of Qt (and in all) a one-file console run opens, and the median time of that run
# over RUNS runs. Prints one row of the targets table, for bench/run-bench.sh to show:
#   | a console run opens no Qt library | <Qt libraries> of <libraries> opened, <ms> ms a run |
#
#   bench/console-libraries.sh [RUNS] [PROGRAM]
# PROGRAM is a built tallyweaver with the desktop program (default: one built in
# build/bench-desktop, a Release build with Qt). Needs strace.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
program=${2:-}

if [[ -z $program ]]; then
    build=build/bench-desktop
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTW_BUILD_TESTS=OFF \
        -DTW_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" --target tallyweaver tallyweaver-desktop >/dev/null
    program=$build/src/app/tallyweaver
fi
program=$(realpath "$program")
command -v strace >/dev/null || {
    echo "console-libraries: strace is not installed" >&2
    exit 1
}

work=$(mktemp -d /tmp/tallyweaver-libraries.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/out"
file=$(pwd)/tests/fixtures/languages/cpp-source/raw_strings.cpp
run=("$program" -file "$file" -quiet -out "$work/out")

strace -f -qq -e trace=openat -o "$work/trace" "${run[@]}" >/dev/null
# Libraries actually opened (the call succeeded), each once.
grep -v ' = -1 ' "$work/trace" | grep -oE '"[^"]*\.so(\.[0-9]+)*"' | tr -d '"' | sort -u \
    >"$work/libraries"
all=$(wc -l <"$work/libraries")
qt=$(grep -c '/libQt' "$work/libraries" || true)

for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    "${run[@]}" >/dev/null 2>&1
    end=$EPOCHREALTIME
    echo "$start $end"
done | awk '{ printf "%.3f\n", ($2 - $1) * 1000 }' | sort -n >"$work/times"
median=$(awk -v n="$runs" 'NR == int((n + 1) / 2)' "$work/times")

verdict=met
[[ $qt -eq 0 ]] || verdict="NOT MET"
printf '| a console run opens no Qt library | %s of %s libraries opened; %s ms a one-file run | %s |\n' \
    "$qt" "$all" "$median" "$verdict"
