#!/usr/bin/env bash
# Whether two builds count alike: runs each program over each tree in each mode with
# `-report json` and compares the reports byte for byte (the JSON report holds no times).
#
#   bench/compare-reports.sh BEFORE AFTER "MODES" TREE...
#   bench/compare-reports.sh /tmp/old/tallyweaver build/dev/src/app/tallyweaver "p t e" \
#       /usr/include /usr/src/linux-source-6.1
#
# With THREADS="1 2 5" in the environment, AFTER runs once for each number of threads, each
# against BEFORE's one run (at the program's own number of threads).
set -euo pipefail
before=$(realpath "$1")
after=$(realpath "$2")
modes=$3
shift 3
work=$(mktemp -d /tmp/tallyweaver-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
run() {  # program tree mode folder [threads]
  local threads=()
  [[ ${5:-default} != default ]] && threads=(-threads "$5")
  mkdir -p "$4"
  rm -f "$4"/*
  (cd "$2" && "$1" -dir . -ext .c .h .hpp .cpp .cc .java -mode "$3" "${threads[@]}" \
    -report json -quiet -out "$4" >/dev/null 2>&1) || true
}
for tree in "$@"; do
  for mode in $modes; do
    run "$before" "$tree" "$mode" "$work/before"
    for threads in ${THREADS:-default}; do
      run "$after" "$tree" "$mode" "$work/after" "$threads"
      files=$(grep -c '"path"' "$work"/after/report_*.json || true)
      what="$tree, mode $mode, threads $threads: $files files"
      if cmp -s "$work"/before/report_*.json "$work"/after/report_*.json; then
        echo "$what, the same report"
      else
        echo "$what, DIFFERENT reports"
        status=1
      fi
    done
  done
done
exit $status
