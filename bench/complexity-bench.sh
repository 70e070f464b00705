#!/usr/bin/env bash
# Time of the Cyclomatic Complexity mode against the Physical mode on real code: whole console
# runs over the C sources and headers of the kernel, the Java sources of the JDK and the
# headers in /usr/include, each mode's median of RUNS runs, and the ratio c / p, which should
# stay at or below 1.5. Both the elapsed time and the processor time (user and system, all
# threads) are shown; on a machine that other work shares, the processor time is the steadier
# measure of what a count costs, and the limit applies to it. Exits 1 when its ratio is above
# 1.5.
#
#   bench/complexity-bench.sh [RUNS]      (default 3)
#
# The trees, pinned by the Debian packages they come from:
#   KERNEL_TREE  linux-source-6.1 (6.1.192-3): /usr/src/linux-source-6.1.tar.xz, unpacked
#                into a temporary folder unless KERNEL_TREE names an unpacked copy
#   JDK_TREE     openjdk-17-source (17.0.21.1+2-1~deb12u1): its src.zip, unpacked likewise
#   /usr/include as installed
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTW_CORE_ONLY=ON >/dev/null
cmake --build "$build" --target tallyweaver >/dev/null
program=$(pwd)/$build/src/app/tallyweaver

work=$(mktemp -d /tmp/tallyweaver-complexity-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"

for package in linux-source-6.1 openjdk-17-source; do
  dpkg-query -W -f='${Package} ${Version}\n' "$package" 2>/dev/null ||
    echo "$package is not installed"
done

kernel=${KERNEL_TREE:-}
if [ -z "$kernel" ]; then
  tar -xJf /usr/src/linux-source-6.1.tar.xz -C "$work"
  kernel=$work/linux-source-6.1
fi
jdk=${JDK_TREE:-}
if [ -z "$jdk" ]; then
  mkdir -p "$work/jdk"
  unzip -q /usr/lib/jvm/openjdk-17/lib/src.zip -d "$work/jdk"
  jdk=$work/jdk
fi

# "elapsed processor" seconds of a command: the medians of RUNS runs
measure() {
  local i
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$work/time"
    rm -f "$work"/out/*
  done >"$work/times"
  local elapsed processor
  elapsed=$(awk '{ print $1 }' "$work/times" | sort -n |
    awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.3f", $1 }')
  processor=$(awk '{ print $2 + $3 }' "$work/times" | sort -n |
    awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.3f", $1 }')
  echo "$elapsed $processor"
}

status=0
printf "%-34s %7s %8s %8s %8s %7s %8s %8s %7s\n" "code" "files" "MB" "p (s)" "c (s)" \
  "c / p" "p (cpu)" "c (cpu)" "c / p"
corpus() {  # name folder extension...
  local name=$1 folder=$2
  shift 2
  local patterns=() extension
  for extension in "$@"; do
    patterns+=(-o -name "*$extension")
  done
  find "$folder" -type f \( "${patterns[@]:1}" \) | sort >"$work/files.txt"
  local files bytes
  files=$(wc -l <"$work/files.txt")
  bytes=$(xargs -a "$work/files.txt" -d '\n' cat | wc -c)
  local p c pc cc
  read -r p pc < <(measure "$program" -list "$work/files.txt" -mode p -quiet -out "$work/out")
  read -r c cc < <(measure "$program" -list "$work/files.txt" -mode c -quiet -out "$work/out")
  awk -v name="$name" -v files="$files" -v bytes="$bytes" -v p="$p" -v c="$c" -v pc="$pc" \
    -v cc="$cc" 'BEGIN {
    printf "%-34s %7d %8.1f %8.3f %8.3f %7.2f %8.3f %8.3f %7.2f\n", name, files, bytes / 1e6,
      p, c, c / (p > 0 ? p : 0.001), pc, cc, cc / (pc > 0 ? pc : 0.001) }'
  if awk -v p="$pc" -v c="$cc" 'BEGIN { exit !(c > 1.5 * p) }'; then
    status=1
  fi
}
corpus "kernel: .c and .h" "$kernel" .c .h
corpus "JDK: .java" "$jdk" .java
corpus "/usr/include: .h .hpp and headers" /usr/include .h .hpp .hxx
echo "($(nproc) processors, median of $runs runs; the program counts on all of them; cpu: user"
echo " and system time of all its threads)"
exit $status
