#!/usr/bin/env bash
# The bash completion of tallyweaver: what it offers after each kind of word. The options and
# the words each takes are read from the program's --help, so the completion cannot fall
# behind it unnoticed.
#   completion-test.sh COMPLETION_FILE TALLYWEAVER
set -uo pipefail
source "$1"
program=$2

help=$("$program" --help) || {
    echo "completion-test: $program --help failed"
    exit 1
}

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
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort -u | tr '\n' ' ' | sed 's/ $//'
}

sorted() {
    printf '%s\n' "$@" | sed '/^$/d' | LC_ALL=C sort -u | tr '\n' ' ' | sed 's/ $//'
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

# ---- From --help: each option line "  NAME[, ALIAS...] [VALUES]  text" -------------------
# VALUES: [word] or a|b|c are words to offer; DIR a directory, FILE or LISTFILE a file; any
# other placeholder (EXT, N, PATTERN) is free text, for which nothing is offered. An option
# without values is followed by another option.
names=()
declare -A offers
while IFS= read -r line; do
    term=$(sed -E 's/^  //; s/  .*//' <<<"$line")
    read -ra tokens <<<"$term"
    name=${tokens[0]%,}
    names+=("$name")
    expected=()
    values=0
    for token in "${tokens[@]:1}"; do
        [[ $token == -* || $token == /* ]] && continue # an alias
        values=1
        token=${token%...}
        case $token in
            \[*\]) expected+=("${token:1:${#token}-2}") ;;
            *'|'*)
                # Words, beside a placeholder in capitals (tags|N) that offers nothing.
                IFS='|' read -ra alternatives <<<"$token"
                for alternative in "${alternatives[@]}"; do
                    [[ $alternative =~ [a-z] ]] && expected+=("$alternative")
                done
                ;;
            DIR) mapfile -t -O "${#expected[@]}" expected < <(compgen -d) ;;
            FILE | LISTFILE) mapfile -t -O "${#expected[@]}" expected < <(compgen -f) ;;
        esac
    done
    if ((values)); then
        offers[$name]=$(sorted "${expected[@]}")
    else
        offers[$name]=NEXT_OPTION
    fi
done < <(grep -E '^  --?[a-z?]' <<<"$help")

if ((${#names[@]} < 10)); then
    echo "completion-test: found only ${#names[@]} options in --help"
    exit 1
fi
all=$(sorted "${names[@]}")
check "$all" tallyweaver ""
for name in "${names[@]}"; do
    # --help and the like take nothing; --open takes a project file (checked below).
    [[ $name == --* ]] && continue
    expected=${offers[$name]}
    [[ $expected == NEXT_OPTION ]] && expected=$all
    check "$expected" tallyweaver "$name" ""
done

# ---- How the words are found ------------------------------------------------------------
check "-diff -dir"                            tallyweaver -d
check "--open"                                tallyweaver --o
check "-report"                               tallyweaver -file main.c -rep
check "-exclude -explain -ext"                tallyweaver -file main.c -ex
check "csv functions html json list nodir none tree" tallyweaver -report list ""
check "nodir none"                            tallyweaver -report n
check "main.c"                                tallyweaver -file m
check "main.c"                                tallyweaver -file notes.txt m
check "src"                                   tallyweaver -dir nosub s
check "other.TYX out project.tyx src"         tallyweaver --open ""
check ""                                      tallyweaver --open project.tyx ""
# Only '-' begins an option: after '/report' the program takes no report words.
check ""                                      tallyweaver /report list c
# After an unknown option the program drops the values, so nothing is offered for them.
check ""                                      tallyweaver -mdoe ""

if ((failures > 0)); then
    echo "completion-test: $failures failed"
    exit 1
fi
echo "completion-test: all cases passed (${#names[@]} options from --help)"
