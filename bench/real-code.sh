#!/usr/bin/env bash
# Speed on real code: the kernel's C sources and headers, Boost's C++ headers and the JDK's Java
# sources, from Debian packages pinned below, plus the resource scripts of the test fixtures.
# Prints the targets table: the Executable mode against cloc, the Physical mode against reading
# the same files with two processes, the complexity mode against the Physical one and peak
# memory, with cloc and `wc -l` beside; every figure is the median of RUNS runs, all measured in
# this one run, the program on two threads.
#
#   bench/real-code.sh [RUNS] [PROGRAM]     (RUNS default 3; PROGRAM default: a Release build)
#   bench/real-code.sh --list FILE          (only write the corpus's file list to FILE)
#
# The packages are fetched with `apt-get download` into the cache folder on first use and
# unpacked there ($TW_BENCH_CACHE, default ~/.cache/tallyweaver-bench); later runs reuse it.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

# Pinned: a change of version changes the corpus, so bench figures compare only within one pin.
packages=(
  "linux-source-6.1=6.1.192-3"
  "libboost1.81-dev=1.81.0-5+deb12u1"
  "openjdk-17-source=17.0.21.1+2-1~deb12u1"
)
# The kernel's folders taken (the whole tree is 1.5 GB).
kernelFolders=(kernel mm include lib block crypto)

cache=${TW_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tallyweaver-bench}
corpus=$cache/corpus
stamp=$corpus/.pins

fetch() {
  local want
  want=$(printf '%s\n' "${packages[@]}")
  if [[ -f $stamp && $(cat "$stamp") == "$want" ]]; then
    return 0
  fi
  echo "real-code: fetching and unpacking the pinned packages into $cache" >&2
  rm -rf "$corpus" "$cache/debs" "$cache/root"
  mkdir -p "$cache/debs" "$cache/root" "$corpus"
  if ! (cd "$cache/debs" && apt-get download "${packages[@]}" >&2); then
    echo "real-code: could not download ${packages[*]} (run apt-get update; a pin that left" >&2
    echo "the archive must be moved to a version apt-cache policy lists)" >&2
    exit 1
  fi
  local deb
  for deb in "$cache"/debs/*.deb; do
    dpkg-deb -x "$deb" "$cache/root"
  done
  local tarball
  tarball=$(find "$cache/root/usr/src" -name 'linux-source-*.tar.xz' | head -n 1)
  mkdir -p "$corpus/linux"
  local top
  top=$(basename "$tarball" .tar.xz)
  tar -xJf "$tarball" -C "$corpus/linux" --strip-components=1 "${kernelFolders[@]/#/$top/}"
  mv "$cache/root/usr/include/boost" "$corpus/boost"
  mkdir -p "$corpus/jdk"
  (cd "$corpus/jdk" && python3 -c '
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
z.extractall(members=[n for n in z.namelist() if n.startswith(sys.argv[2] + "/")])' \
    "$(find "$cache/root/usr/lib/jvm" -name src.zip | head -n 1)" java.base)
  rm -rf "$cache/root" "$cache/debs"
  printf '%s\n' "$want" >"$stamp"
}

# The corpus's files, sorted: C, C++, headers and Java, then the fixtures' resource scripts.
listFiles() {
  {
    find "$corpus/linux" -type f \( -name '*.c' -o -name '*.h' \)
    find "$corpus/boost" -type f \( -name '*.hpp' -o -name '*.h' -o -name '*.ipp' \)
    find "$corpus/jdk" -type f -name '*.java'
  } | LC_ALL=C sort
  find "$repo/tests/fixtures" -type f -iname '*.rc' | LC_ALL=C sort
}

fetch
if [[ ${1:-} == --list ]]; then
  listFiles >"$2"
  exit 0
fi
runs=${1:-3}
program=${2:-}
if [[ -z $program ]]; then
  bash scripts/bootstrap.sh >/dev/null
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTW_CORE_ONLY=ON >/dev/null
  cmake --build build/bench --target tallyweaver >/dev/null
  program=$repo/build/bench/src/app/tallyweaver
fi

work=$(mktemp -d /tmp/tallyweaver-real.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"
listFiles >"$work/files.txt"

# median "seconds peak_kb" of RUNS runs of a command; the time is read by the shell around the
# bare command, the peak memory from one more run under /usr/bin/time.
measure() {
  local i start end
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    echo "$start $end"
    rm -f "$work"/out/*
  done | awk '{ printf "%.6f\n", $2 - $1 }' | sort -n >"$work/times"
  /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1 || true
  rm -f "$work"/out/*
  awk -v n="$runs" -v peak="$(tail -n 1 "$work/time")" \
    'NR == int((n + 1) / 2) { printf "%.3f %s\n", $1, peak }' "$work/times"
}

declare -A seconds memory
files=$(wc -l <"$work/files.txt")
bytes=$(xargs -a "$work/files.txt" -d '\n' cat | wc -c)
lines=$(xargs -a "$work/files.txt" -d '\n' cat | wc -l)
largest=$(xargs -a "$work/files.txt" -d '\n' stat -c %s | sort -n | tail -n 1)
xargs -a "$work/files.txt" -d '\n' cat >/dev/null  # warm the page cache

read -r seconds[cat] memory[cat] < <(measure xargs -a "$work/files.txt" -d '\n' -P 2 -n 500 cat)
read -r seconds[wc] memory[wc] < <(measure xargs -a "$work/files.txt" -d '\n' wc -l)
if command -v cloc >/dev/null; then
  read -r seconds[cloc] memory[cloc] < <(measure cloc --quiet --skip-uniqueness \
    --list-file="$work/files.txt")
fi
for mode in p t e c; do
  read -r seconds[$mode] memory[$mode] < <(measure "$program" -list "$work/files.txt" \
    -mode "$mode" -quiet -threads 2 -out "$work/out")
done

echo
echo "Real code: $files files, $bytes bytes, $lines lines, largest file $largest bytes"
echo "($(printf '%s ' "${packages[@]}")+ fixture resource scripts); $(nproc) processors;"
echo "median of $runs runs; the program on 2 threads"
echo
printf "%-30s %9s %9s %9s\n" "command" "seconds" "MB/s" "peak MB"
for key in cat wc cloc p t e c; do
  [[ -n ${seconds[$key]:-} ]] || continue
  case $key in
    cat) name="xargs -P 2 cat" ;;
    wc) name="wc -l" ;;
    cloc) name="cloc" ;;
    p) name="Physical" ;;
    t) name="Terminating Characters" ;;
    e) name="Executable" ;;
    c) name="Cyclomatic Complexity" ;;
  esac
  awk -v name="$name" -v s="${seconds[$key]}" -v b="$bytes" -v m="${memory[$key]}" \
    'BEGIN { printf "%-30s %9.3f %9.1f %9.1f\n", name, s, b / (s > 0 ? s : 0.001) / 1e6, m / 1024 }'
done
echo
printf "%-52s %10s %10s %5s\n" "target" "measured" "bound" "met"
target() {  # text value bound direction(min|max)
  awk -v t="$1" -v v="$2" -v b="$3" -v d="$4" 'BEGIN {
    met = (d == "min" ? v >= b : v <= b) ? "yes" : "no"
    printf "%-52s %9.2fx %9s%s %5s\n", t, v, (d == "min" ? ">= " : "<= "), b "x", met }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / (b > 0 ? b : 0.001) }'; }
if [[ -n ${seconds[cloc]:-} ]]; then
  target "Executable: cloc's time over the program's" "$(ratio "${seconds[cloc]}" "${seconds[e]}")" 12 min
fi
target "Physical: time over xargs -P 2 cat" "$(ratio "${seconds[p]}" "${seconds[cat]}")" 2.5 max
target "Cyclomatic Complexity: time over Physical" "$(ratio "${seconds[c]}" "${seconds[p]}")" 1.5 max
peak=0
for mode in p t e c; do
  ((memory[$mode] > peak)) && peak=${memory[$mode]}
done
awk -v m="$peak" -v largest="$largest" 'BEGIN {
  limit = 64 + 8 * largest / 1048576
  printf "%-52s %8.1fMB %7.1fMB %5s\n", "peak memory, any mode (64 MB + 8x largest file)", m / 1024,
    limit, (m / 1024 <= limit ? "yes" : "no") }'
