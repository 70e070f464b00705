#!/usr/bin/env bash
# Whether two builds count alike: runs each program over each tree in each mode with
# `-report json` and compares the reports byte for byte (the JSON report holds no times).
#
#   bench/compare-reports.sh BEFORE AFTER "MODES" TREE...
#   bench/compare-reports.sh /tmp/old/tallyweaver build/dev/src/app/tallyweaver "p t e" \
#       /usr/include /usr/src/linux-source-6.1
set -euo pipefail
before=$(realpath "$1")
after=$(realpath "$2")
modes=$3
shift 3
work=$(mktemp -d /tmp/tallyweaver-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
for tree in "$@"; do
  for mode in $modes; do
    for which in before after; do
      program=$before
      [ "$which" = after ] && program=$after
      mkdir -p "$work/$which"
      rm -f "$work/$which"/*
      (cd "$tree" && "$program" -dir . -ext .c .h .hpp .cpp .cc .java -mode "$mode" \
        -report json -quiet -out "$work/$which" >/dev/null 2>&1) || true
    done
    files=$(grep -c '"path"' "$work"/after/report_*.json || true)
    if cmp -s "$work"/before/report_*.json "$work"/after/report_*.json; then
      echo "$tree, mode $mode: $files files, the same report"
    else
      echo "$tree, mode $mode: $files files, DIFFERENT reports"
      status=1
    fi
  done
done
exit $status
