#!/usr/bin/env bash
# Cost of -git: console runs over a work tree of 50,000 small C files, with and without -git,
# in two states of the repository: every file committed (the usual checkout: git's index
# answers for each file) and every file untracked (each file put to the ignore rules). The
# tree has a .gitignore at its top and one in every folder, whose rules match none of the
# sources, so both runs count the same files and the ratio is the price of the rules alone.
# Prints the median time of each run and the ratios.
#
#   bench/git-scan-bench.sh [RUNS] [FILES]   (RUNS timed runs per figure, median taken,
#                                             default 5; FILES default 50000)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
files=${2:-50000}

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
      printf '/* file %d */\nint f%d(int a)\n{\n    return a + %d; // sum\n}\n\n' \
        "$i" "$i" "$i" >"$dir/file$i.c"
      made=$((made + 1))
    done
  done
done
git -C "$tree" init -q

# Runs the scan RUNS times without and with -git, alternating so that a change in the
# machine's load falls on both alike; prints the two medians in seconds.
measure_pair() {
  local i start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N); run >/dev/null 2>&1; end=$(date +%s%N)
    echo "without $(( (end - start) / 1000000 ))"
    start=$(date +%s%N); run -git >/dev/null 2>&1; end=$(date +%s%N)
    echo "with $(( (end - start) / 1000000 ))"
  done >"$work/times"
  for kind in without with; do
    awk -v k="$kind" '$1 == k { print $2 }' "$work/times" | sort -n |
      awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.3f ", $1 / 1000 }'
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

echo "Work tree of $made files in $((folders * subfolders)) folders, $runs runs each, medians"
run >/dev/null  # warm the page cache
read -r untracked_without untracked_with < <(measure_pair)

git -C "$tree" add -A
git -C "$tree" commit -q -m bench
run >/dev/null
read -r tracked_without tracked_with < <(measure_pair)

printf '%-28s %10s %10s %8s\n' "repository state" "without" "-git" "ratio"
printf '%-28s %9ss %9ss %8.3f\n' "every file committed" "$tracked_without" "$tracked_with" \
  "$(awk -v a="$tracked_with" -v b="$tracked_without" 'BEGIN { print a / b }')"
printf '%-28s %9ss %9ss %8.3f\n' "every file untracked" "$untracked_without" "$untracked_with" \
  "$(awk -v a="$untracked_with" -v b="$untracked_without" 'BEGIN { print a / b }')"
