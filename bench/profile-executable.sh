#!/usr/bin/env bash
# Where the Executable mode spends its instructions on real code, one thread: callgrind over
# every STEP-th file of bench/real-code.sh's corpus, then the inclusive instruction count of each
# stage of the chain, each pre-parser pass, the pattern engine and the code around it.
#
#   bench/profile-executable.sh PROGRAM [STEP] [MODE]     (STEP default 60, MODE default e)
#
# Instruction counts hardly move with the load of the machine, unlike times; compare two builds
# by running this on each. The callgrind file is kept as callgrind.<mode>.out in the current
# folder for callgrind_annotate.
set -euo pipefail
program=$(realpath "$1")
step=${2:-60}
mode=${3:-e}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/tallyweaver-profile.XXXXXX)
trap 'rm -rf "$work"' EXIT

bash "$here/real-code.sh" --list "$work/all.txt"
awk -v step="$step" 'NR % step == 0' "$work/all.txt" >"$work/files.txt"
mkdir -p "$work/out"
out=$(pwd)/callgrind.$mode.out
valgrind --tool=callgrind --callgrind-out-file="$out" "$program" -list "$work/files.txt" \
  -mode "$mode" -quiet -threads 1 -out "$work/out" >/dev/null 2>"$work/valgrind.log"
callgrind_annotate --inclusive=yes --threshold=100 "$out" >"$work/annotated.txt" 2>/dev/null

echo "Profile: $(wc -l <"$work/files.txt") files (every ${step}th of the real code),"
echo "$(xargs -a "$work/files.txt" -d '\n' cat | wc -c) bytes, mode $mode, one thread"
echo
printf "%-48s %15s %7s\n" "part" "instructions" "share"
total=$(awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }' "$work/annotated.txt")
row() {  # label symbol-pattern
  local count
  count=$(grep -E "$2" "$work/annotated.txt" | head -n 1 | awk '{ gsub(",", "", $1); print $1 }' ||
    true)
  awk -v label="$1" -v n="${count:-0}" -v total="$total" \
    'BEGIN { printf "%-48s %15d %6.1f%%\n", label, n, 100 * n / total }'
}
row "whole run" "PROGRAM TOTALS"
row "count one file (FileCount::countStages)" "FileCount::countStages"
row "  read and decode" "readSourceText\("
row "  physical pre-parser" "preparsePhysical\("
row "  line classifier" "LineClassifier.cpp:tw::classifyPhysicalLines\("
row "  logical pre-parser" "preparseLogical\("
row "    numbers" "zeroNumbers\(std::__cxx11::basic_string<char16_t, std::char_traits<char16_t>, std::allocator<char16_t> >&, unsigned long, unsigned long\)"
row "    comment words" "countCommentWords\("
row "    C/C++ array initialisers" "clearCppArrayInitialisers\("
row "    Java array initialisers" "clearJavaArrayInitialisers\("
row "    Java directives" "countJavaDirectives\("
row "  Executable chain (parseLogical)" "tw::parseLogical\("
row "    1 functions" "runFunctions\("
row "    2 array access" "runArrayAccess\("
row "    3 declarations" "runDeclarations\("
row "    4 logic" "runLogic\("
row "    5 operators" "runOperators\("
row "pattern engine (pcre2_match)" "pcre2_match_16"
row "  Pattern::search" "Pattern::search\("
row "  Pattern::fullMatch" "Pattern::fullMatch\("
row "countMatches (search, overwrite, trace)" "countMatches\("
row "malloc" "[^_]malloc \["
row "free" "[^_]free \["
