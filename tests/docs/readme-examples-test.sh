#!/usr/bin/env bash
# The README's examples, run as written in a fresh copy of the repository with the built
# program first on PATH:
#   - every ```sh block that runs tallyweaver runs whole, and must succeed;
#   - every "$ tallyweaver ..." line of another block runs, and its output must begin with the
#     lines shown under it (up to a line "..." or the end of the block).
#   readme-examples-test.sh SOURCE_DIRECTORY TALLYWEAVER
set -uo pipefail
source_dir=$(realpath "$1")
program=$(realpath "$2")
readme=$source_dir/README.md

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clone=$work/clone
mkdir "$clone"

# What a clone holds: the files git tracks, as they are now; outside a git checkout, the tree
# without its build folders. The copy becomes a repository of its own, so that -git finds a
# work tree as it would in a clone.
if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
        xargs -0 cp --parents -t "$clone" 2>/dev/null)
else
    tar -C "$source_dir" --exclude='./build*' --exclude='./out' -cf - . | tar -C "$clone" -xf -
fi
if command -v git >/dev/null; then
    (cd "$clone" && git init -q && git add -A)
fi
export PATH="$(dirname "$program"):$PATH"

failures=0
examples=0
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

# Splits the README into its fenced blocks: "BLOCK <language>" then the lines, then "END".
blocks=$(awk '
    /^```/ { if (inside) { print "END"; inside = 0 } else { print "BLOCK " substr($0, 4); inside = 1 }; next }
    inside { print "| " $0 }
' "$readme")

run_block() {
    local language=$1 text=$2
    if [[ $language == sh ]]; then
        local commands
        commands=$(grep -cE '^tallyweaver ' <<<"$text")
        ((commands > 0)) || return 0
        examples=$((examples + commands))
        local output
        # Traced, so that the command that failed can be named.
        if ! output=$(cd "$clone" && PS4='+ ' bash -x -euo pipefail -c "$text" 2>&1); then
            fail "this README example did not succeed: $(grep '^+ ' <<<"$output" | tail -n 1)"
            echo "  the output ended with:"
            grep -v '^+ ' <<<"$output" | tail -n 20 | sed 's/^/    /'
        fi
        return 0
    fi
    # A transcript: "$ command" and the output it shows.
    local command="" expected=() line
    while IFS= read -r line; do
        if [[ $line == '$ tallyweaver '* ]]; then
            [[ -n $command ]] && check_transcript "$command" "${expected[@]}"
            command=${line#'$ '}
            expected=()
        elif [[ -n $command && $line == ... ]]; then
            check_transcript "$command" "${expected[@]}"
            command=""
        elif [[ -n $command ]]; then
            expected+=("$line")
        fi
    done <<<"$text"
    [[ -n $command ]] && check_transcript "$command" "${expected[@]}"
    return 0
}

check_transcript() {
    local command=$1
    shift
    examples=$((examples + 1))
    local output
    if ! output=$(cd "$clone" && bash -euo pipefail -c "$command" 2>&1); then
        fail "'$command' did not succeed: $output"
        return
    fi
    local shown
    shown=$(printf '%s\n' "$@")
    local got
    got=$(head -n "$#" <<<"$output")
    if [[ $got != "$shown" ]]; then
        fail "'$command' does not print what the README shows"
        diff <(echo "$shown") <(echo "$got") | sed 's/^/    /'
    fi
}

language=""
text=""
while IFS= read -r line; do
    case $line in
        "BLOCK "*) language=${line#BLOCK }; text="" ;;
        END) run_block "$language" "$text" ;;
        "| "*) text+="${line#| }"$'\n' ;;
        "|") text+=$'\n' ;;
    esac
done <<<"$blocks"

if ((examples < 3)); then
    echo "readme-examples-test: found only $examples examples in $readme"
    exit 1
fi
if ((failures > 0)); then
    echo "readme-examples-test: $failures of $examples examples failed"
    exit 1
fi
echo "readme-examples-test: all $examples examples ran as the README shows"
