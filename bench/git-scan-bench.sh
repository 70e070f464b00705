#!/usr/bin/env bash
# Cost of -git: console runs over a work tree of 50,000 small C files, with and without -git,
# in two states of the repository: every file committed (the usual checkout: git's index
# answers for each file) and every file untracked (each file put to the ignore rules). The
# tree has a .gitignore at its top and one in every folder, whose rules match none of the
# sources, so both runs count the same files and the ratio is the price of the rules alone.
# Prints the median time of each run and the ratios. The files are small (6 lines each) unless
# BLOCKS asks for more: the smaller the files, the larger the share of the scan in a run.
#
#   bench/git-scan-bench.sh [RUNS] [FILES] [BLOCKS]   (RUNS timed runs per figure, median
#                                                      taken, default 5; FILES default 50000;
#                                                      BLOCKS functions of 6 lines per file,
#                                                      default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
files=${2:-50000}
blocks=${3:-1}

bash scripts/bootstrap.sh >/dev/null
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTW_CORE_ONLY=ON >/dev/null
cmake --build "$build" --target tallyweaver >/dev/null
program=$(pwd)/$build/src/app/tallyweaver

work=$(mktemp -d /tmp/tallyweaver-git-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/home"
export HOME=$work/home GIT_CONFIG_NOSYSTEM=1
export GIT_AUTHOR_NAME=Bench GIT_AUTHOR_EMAIL=bench@example.invalid
export GIT_COMMITTER_NAME=Bench GIT_COMMITTER_EMAIL=bench@example.invalid

# 50 folders of 25 subfolders of 40 files for 50,000 files; fewer files keep that shape.
tree=$work/tree
per_folder=40
subfolders=25
folders=$(( (files + per_folder * subfolders - 1) / (per_folder * subfolders) ))
made=0
mkdir -p "$tree"
printf 'build/\n*.o\n*.gen.c\n/dist\n' >"$tree/.gitignore"
for ((f = 0; f < folders && made < files; f++)); do
  for ((s = 0; s < subfolders && made < files; s++)); do
    dir=$tree/module$f/part$s
    mkdir -p "$dir"
    printf '*.tmp\nscratch/\n' >"$dir/.gitignore"
    for ((i = 0; i < per_folder && made < files; i++)); do
      for ((b = 0; b < blocks; b++)); do
        printf '/* file %d */\nint f%d_%d(int a)\n{\n    return a + %d; // sum\n}\n\n' \
          "$i" "$i" "$b" "$i"
      done >"$dir/file$i.c"
      made=$((made + 1))
    done
  done
done
git -C "$tree" init -q

# Runs the scan RUNS times without and with -git, alternating so that a change in the
# machine's load falls on both alike; prints the medians of wall time and of processor time
# (user + system, less disturbed by other work on the machine), in seconds: without, with.
measure_pair() {
  local i kind
  for ((i = 0; i < runs; i++)); do
    for kind in without with; do
      if [ "$kind" = with ]; then set -- -git; else set --; fi
      /usr/bin/time -f "$kind %e %U %S" -o "$work/time" "$program" -dir "$tree" -ext .c \
        -quiet -out "$work/out" "$@" >/dev/null 2>&1
      rm -f "$work/out"/*
      cat "$work/time"
    done
  done >"$work/times"
  for field in wall cpu; do
    for kind in without with; do
      awk -v k="$kind" -v f="$field" '$1 == k { print f == "wall" ? $2 : $3 + $4 }' \
        "$work/times" | sort -n |
        awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.3f ", $1 }'
    done
  done
  echo
}

run() {
  "$program" -dir "$tree" -ext .c -quiet -out "$work/out" "$@"
  rm -f "$work/out"/*
}

# Both runs must count the same files, or the comparison says nothing.
counted_without=$("$program" -dir "$tree" -ext .c -out "$work/out" | grep -c '^Parsing:')
rm -f "$work/out"/*
counted_with=$("$program" -dir "$tree" -ext .c -git -out "$work/out" | grep -c '^Parsing:')
rm -f "$work/out"/*
if [ "$counted_without" != "$counted_with" ]; then
  echo "git-scan-bench: -git counted $counted_with files, without it $counted_without" >&2
  exit 1
fi

echo "Work tree of $made files of $((blocks * 6)) lines in $((folders * subfolders)) folders," \
  "$runs runs each, medians"
run >/dev/null  # warm the page cache
read -r untracked_without untracked_with untracked_cpu_without untracked_cpu_with \
  < <(measure_pair)

git -C "$tree" add -A
git -C "$tree" commit -q -m bench
run >/dev/null
read -r tracked_without tracked_with tracked_cpu_without tracked_cpu_with < <(measure_pair)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
printf '%-22s %-10s %9s %9s %7s\n' "repository state" "time" "without" "-git" "ratio"
printf '%-22s %-10s %8ss %8ss %7s\n' \
  "every file committed" wall "$tracked_without" "$tracked_with" \
  "$(ratio "$tracked_with" "$tracked_without")" \
  "" "processor" "$tracked_cpu_without" "$tracked_cpu_with" \
  "$(ratio "$tracked_cpu_with" "$tracked_cpu_without")" \
  "every file untracked" wall "$untracked_without" "$untracked_with" \
  "$(ratio "$untracked_with" "$untracked_without")" \
  "" "processor" "$untracked_cpu_without" "$untracked_cpu_with" \
  "$(ratio "$untracked_cpu_with" "$untracked_cpu_without")"
