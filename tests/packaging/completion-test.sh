#!/usr/bin/env bash
# The bash completion of tallyweaver: what it offers after each kind of word.
#   completion-test.sh COMPLETION_FILE
set -uo pipefail
source "$1"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir src out
touch main.c project.tyx other.TYX notes.txt

# The words offered for the command line, the last word being completed; sorted, on one line.
offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tallyweaver
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//'
}

failures=0
check() {
    local expected=$1
    shift
    local got
    got=$(offered "$@")
    if [[ $got != "$expected" ]]; then
        echo "FAIL: '$*': expected '$expected', got '$got'"
        failures=$((failures + 1))
    fi
}

options="--help --open --version -dir -ext -file -list -mode -nosub -out -quiet -report -save -threads"
check "$options"                              tallyweaver ""
check "-dir"                                  tallyweaver -d
check "--open"                                tallyweaver --o
check "-report"                               tallyweaver -file main.c -rep
check "c e p t"                               tallyweaver -mode ""
check "csv list nodir none tree"              tallyweaver -report list ""
check "nodir none"                            tallyweaver -report n
check "csv"                                   tallyweaver /report list c
check "main.c"                                tallyweaver -file m
check "main.c notes.txt other.TYX out project.tyx src" tallyweaver -list ""
check "nosub out src"                         tallyweaver -dir ""
check "src"                                   tallyweaver -dir nosub s
check "out src"                               tallyweaver -out ""
check "other.TYX out project.tyx src"         tallyweaver --open ""
check ""                                      tallyweaver --open project.tyx ""
check "$options"                              tallyweaver -quiet ""
check ""                                      tallyweaver -ext ""
check ""                                      tallyweaver -threads ""

if ((failures > 0)); then
    echo "completion-test: $failures failed"
    exit 1
fi
echo "completion-test: all cases passed"
