#!/usr/bin/env bash
# The main measure is real code: bench/real-code.sh, run last, prints the targets table for the
# pinned kernel, Boost and JDK sources with cloc, `wc -l` and a two-process read beside.
#
# Speed of whole console runs over the generated corpus, for each mode, against `wc -l` (the
# floor: reading the files and finding their lines) and, when installed, cloc. Prints MB/s and
# lines/s, the time ratios, peak memory, growth over the size series 1, 4, 16 and the gain of
# two threads over one. Installs nothing beyond the project's own bootstrap.
#
# Two corpus shapes: the even one (400 files of 2 to 256 KB per scale, scaled 1, 4 and 16) and
# the real one (about 2,500 files and 26 MB, sizes and folders as in real project trees, where
# the costs paid per file dominate). For the real shape it prints each mode's ratio against
# `wc -l` and cloc, the gain of two threads over one in every mode, peak memory, the time of
# one 16 MiB file against one 1 MiB file in the Executable mode, and the most two threads can
# gain on this machine: two one-thread runs over the two halves of the list, side by side.
#
#   bench/run-bench.sh [RUNS]      (RUNS timed runs per figure, median taken; default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}

bash scripts/bootstrap.sh >/dev/null
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTW_CORE_ONLY=ON >/dev/null
cmake --build "$build" --target tallyweaver tw_make_corpus >/dev/null
program=$(pwd)/$build/src/app/tallyweaver

work=$(mktemp -d /tmp/tallyweaver-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"

# median "seconds peak_kb" of RUNS runs of a command. The time is read by the shell itself
# around the bare command, so that no helper process's start is in it; the peak memory comes
# from one more run under /usr/bin/time (0 for a shell function).
measure() {
  local i start end
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    echo "$start $end"
    rm -f "$work"/out/*  # each run names its files in an empty folder
  done | awk '{ printf "%.6f\n", $2 - $1 }' | sort -n >"$work/times"
  if [[ $(type -t "$1") == file ]]; then
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1 || true
  else
    echo 0 >"$work/time"  # a shell function: no peak of its own
  fi
  awk -v n="$runs" -v peak="$(tail -n 1 "$work/time")" \
    'NR == int((n + 1) / 2) { printf "%.3f %s\n", $1, peak }' "$work/times"
}

declare -A seconds memory bytes lines
for scale in 1 4 16; do
  corpus=$work/corpus$scale
  "$build/bench/tw_make_corpus" "$corpus" "$scale" >/dev/null
  find "$corpus" -type f | sort >"$work/files$scale.txt"
  bytes[$scale]=$(xargs -a "$work/files$scale.txt" -d '\n' cat | wc -c)
  lines[$scale]=$(xargs -a "$work/files$scale.txt" -d '\n' cat | wc -l)
  cat "$work/files$scale.txt" >/dev/null  # warm the page cache
  read -r s m < <(measure xargs -a "$work/files$scale.txt" -d '\n' wc -l)
  seconds[wc,$scale]=$s; memory[wc,$scale]=$m
  if command -v cloc >/dev/null; then
    read -r s m < <(measure cloc --quiet --skip-uniqueness --list-file="$work/files$scale.txt")
    seconds[cloc,$scale]=$s; memory[cloc,$scale]=$m
  fi
  for mode in p t e c; do
    read -r s m < <(measure "$program" -list "$work/files$scale.txt" -mode "$mode" -quiet \
      -out "$work/out")
    seconds[$mode,$scale]=$s; memory[$mode,$scale]=$m
  done
  for threads in 1 2; do
    read -r s m < <(measure "$program" -list "$work/files$scale.txt" -mode p -quiet \
      -threads "$threads" -out "$work/out")
    seconds[p$threads,$scale]=$s
  done
done

# The real shape, scale 1.
real=$work/real
"$build/bench/tw_make_corpus" "$real" 1 1 real >/dev/null
find "$real" -type f | sort >"$work/filesReal.txt"
realBytes=$(xargs -a "$work/filesReal.txt" -d '\n' cat | wc -c)
realLines=$(xargs -a "$work/filesReal.txt" -d '\n' cat | wc -l)
cat "$work/filesReal.txt" >/dev/null  # warm the page cache
read -r s m < <(measure xargs -a "$work/filesReal.txt" -d '\n' wc -l)
seconds[wc,real]=$s; memory[wc,real]=$m
if command -v cloc >/dev/null; then
  read -r s m < <(measure cloc --quiet --skip-uniqueness --list-file="$work/filesReal.txt")
  seconds[cloc,real]=$s; memory[cloc,real]=$m
fi
for mode in p t e c; do
  for threads in 1 2; do
    read -r s m < <(measure "$program" -list "$work/filesReal.txt" -mode "$mode" -quiet \
      -threads "$threads" -out "$work/out")
    seconds[$mode$threads,real]=$s; memory[$mode$threads,real]=$m
  done
done
# What two cores give this work at best: each half of the list counted by a one-thread run,
# alone and then beside a run over the other half. Two threads cannot gain more than two such
# runs together, since they share the same cores, memory and caches.
half=$(( $(wc -l <"$work/filesReal.txt") / 2 ))
head -n "$half" "$work/filesReal.txt" >"$work/half1.txt"
tail -n +"$((half + 1))" "$work/filesReal.txt" >"$work/half2.txt"
mkdir -p "$work/out1" "$work/out2"
alone() {  # mode
  "$program" -list "$work/half1.txt" -mode "$1" -quiet -threads 1 -out "$work/out1"
  rm -f "$work"/out1/*
}
together() {  # mode
  "$program" -list "$work/half1.txt" -mode "$1" -quiet -threads 1 -out "$work/out1" &
  "$program" -list "$work/half2.txt" -mode "$1" -quiet -threads 1 -out "$work/out2"
  wait
  rm -f "$work"/out1/* "$work"/out2/*
}
for mode in p e; do
  read -r s m < <(measure alone "$mode")
  seconds[alone$mode,real]=$s
  read -r s m < <(measure together "$mode")
  seconds[together$mode,real]=$s
done

# One large file in the Executable mode: whole generated files joined up to 1 and 16 MiB.
for mib in 1 16; do
  : >"$work/one$mib.c"
  while [ "$(stat -c %s "$work/one$mib.c")" -lt $((mib * 1024 * 1024)) ]; do
    grep -m 10 '\.c$' "$work/filesReal.txt" | xargs -d '\n' cat >>"$work/one$mib.c"
  done
  read -r s m < <(measure "$program" -file "$work/one$mib.c" -mode e -quiet -threads 1 \
    -out "$work/out")
  seconds[one,$mib]=$s; memory[one,$mib]=$m
done

largest=$(xargs -a "$work/files16.txt" -d '\n' stat -c %s | sort -n | tail -1)
echo
echo "Corpus: scale 1 = $(wc -l <"$work/files1.txt") files, ${bytes[1]} bytes, ${lines[1]} lines;"
echo "largest file $largest bytes; $(nproc) processors; median of $runs runs"
echo
printf "%-22s %6s %9s %9s %11s %9s %9s %9s %8s\n" "command" "scale" "seconds" "MB/s" \
  "lines/s" "vs wc -l" "vs cloc" "peak MB" "growth"
row() {  # name key scale
  local name=$1 key=$2 scale=$3
  local s=${seconds[$key,$scale]:-}
  [ -n "$s" ] || return 0
  awk -v name="$name" -v scale="$scale" -v s="$s" -v b="${bytes[$scale]}" \
    -v l="${lines[$scale]}" -v wc="${seconds[wc,$scale]}" -v cloc="${seconds[cloc,$scale]:-}" \
    -v m="${memory[$key,$scale]:-0}" -v s1="${seconds[$key,1]}" 'BEGIN {
      t = (s > 0 ? s : 0.001)
      vsc = (cloc != "" ? sprintf("%.2f", t / cloc) : "-")
      growth = (scale > 1 ? sprintf("%.2f", t / (s1 > 0 ? s1 : 0.001)) : "-")
      printf "%-22s %6d %9.3f %9.1f %11.0f %9.2f %9s %9.1f %8s\n", name, scale, s,
        b / t / 1e6, l / t, t / (wc > 0 ? wc : 0.001), vsc, m / 1024, growth }'
}
for scale in 1 4 16; do
  row "wc -l" wc "$scale"
  row "cloc" cloc "$scale"
  row "Physical" p "$scale"
  row "Terminating Characters" t "$scale"
  row "Executable" e "$scale"
  row "Cyclomatic Complexity" c "$scale"
done
echo
for scale in 4 16; do
  awk -v one="${seconds[p1,$scale]}" -v two="${seconds[p2,$scale]}" -v scale="$scale" \
    'BEGIN { printf "Physical mode, scale %d: one thread %.3f s, two threads %.3f s, gain %.2f\n",
      scale, one, two, one / (two > 0 ? two : 0.001) }'
done
echo "(growth: time at this scale over time at scale 1; ratios below 1 against wc -l or cloc"
echo " mean faster than them)"

realLargest=$(xargs -a "$work/filesReal.txt" -d '\n' stat -c %s | sort -n | tail -1)
echo
echo "Real-shaped corpus: $(wc -l <"$work/filesReal.txt") files, $realBytes bytes, $realLines lines;"
echo "largest file $realLargest bytes; $(nproc) processors; median of $runs runs"
echo
printf "%-22s %9s %9s %9s %9s %9s %11s %9s\n" "command" "seconds" "vs wc -l" "vs cloc" \
  "1 thread" "gain" "peak MB" "limit MB"
realRow() {  # name mode
  local name=$1 mode=$2
  awk -v name="$name" -v two="${seconds[${mode}2,real]}" -v one="${seconds[${mode}1,real]}" \
    -v wc="${seconds[wc,real]}" -v cloc="${seconds[cloc,real]:-}" \
    -v m="${memory[${mode}2,real]}" -v m1="${memory[${mode}1,real]}" \
    -v largest="$realLargest" 'BEGIN {
      t = (two > 0 ? two : 0.001)
      vsc = (cloc != "" ? sprintf("%.1fx faster", cloc / t) : "-")
      peak = (m > m1 ? m : m1) / 1024
      printf "%-22s %9.3f %8.2fx %9s %9.3f %8.2fx %11.1f %9.1f\n", name, two, t / (wc > 0 ? wc : 0.001),
        vsc, one, one / t, peak, 64 + 8 * largest / 1048576 }'
}
awk -v s="${seconds[wc,real]}" 'BEGIN { printf "%-22s %9.3f %8.2fx\n", "wc -l", s, 1 }'
[ -n "${seconds[cloc,real]:-}" ] &&
  awk -v s="${seconds[cloc,real]}" -v wc="${seconds[wc,real]}" \
    'BEGIN { printf "%-22s %9.3f %8.2fx %9s\n", "cloc", s, s / (wc > 0 ? wc : 0.001), "1.0x" }'
realRow "Physical" p
realRow "Terminating Characters" t
realRow "Executable" e
realRow "Cyclomatic Complexity" c
echo
for mode in p e; do
  awk -v mode="$mode" -v alone="${seconds[alone$mode,real]}" \
    -v together="${seconds[together$mode,real]}" 'BEGIN {
    slower = together / (alone > 0 ? alone : 0.001)
    printf "%s mode, half the list: alone %.3f s, beside the other half %.3f s; most two threads can gain here: %.2fx\n",
      (mode == "p" ? "Physical" : "Executable"), alone, together, 2 / slower }'
done
awk -v one="${seconds[one,1]}" -v sixteen="${seconds[one,16]}" 'BEGIN {
  printf "\nExecutable mode, one file: 1 MiB %.3f s, 16 MiB %.3f s, ratio %.1f\n", one, sixteen,
    sixteen / (one > 0 ? one : 0.001) }'
echo "(the program's rows run with two threads; gain: one thread's time over two threads';"
echo " peak MB: the larger of both runs; limit MB: 64 MB plus 8 times the largest file)"

echo
echo "== Real code =="
bash bench/real-code.sh "$runs" "$program"
