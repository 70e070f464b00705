#!/usr/bin/env bash
# A console run loads no library of the window toolkit: each console run below is traced with
# strace and fails on any Qt library it opens or tries to open. When the desktop module was
# built, a desktop start without a display shows that the same trace sees Qt where it is
# loaded, and a program without a loadable module says why and ends with 1.
#   console-libraries-test.sh PROGRAM FIXTURES [MODULE]
# Ends with 77 (skipped) where strace is missing or may not trace.
set -uo pipefail
program=$1
fixtures=$2
module=${3:-}

if ! command -v strace >/dev/null; then
    echo "strace is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! strace -f -qq -e trace=openat -o "$work/probe" true 2>"$work/probe.err"; then
    echo "strace cannot trace here: skipped"
    cat "$work/probe.err"
    exit 77
fi

# The leak checker of a sanitizer build cannot run under a tracer, and would end every traced
# run with its own error.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# The Qt libraries a trace shows opened or looked for, one a line.
qt_libraries() {
    grep -oE '"[^"]*/libQt[^"/]*"' "$1" | tr -d '"' | sort -u
}

# run NAME EXPECTED_STATUS ENVIRONMENT_AND_COMMAND...: traces the command into $work/trace.
run() {
    local name=$1 expected=$2 status=0
    shift 2
    strace -f -qq -e trace=openat -o "$work/trace" "$@" >"$work/stdout" 2>"$work/stderr" ||
        status=$?
    if [[ $status -ne $expected ]]; then
        fail "$name: ended with $status, not $expected"
        sed 's/^/  stderr: /' "$work/stderr"
    fi
}

mkdir "$work/out"
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

# name | expected status | arguments. Every one is a console run.
console_runs=(
    "a count of a folder|0|-dir $fixtures/languages -out $work/out -quiet"
    "a report on stdout|0|-file $fixtures/languages/cpp-source/raw_strings.cpp -report json -out -"
    "help|0|--help"
    "version|0|--version"
    "an option with nothing to count|4|-quiet"
)
for row in "${console_runs[@]}"; do
    IFS='|' read -r name expected arguments <<<"$row"
    read -ra words <<<"$arguments"
    run "$name" "$expected" "${no_display[@]}" "$program" "${words[@]}"
    opened=$(qt_libraries "$work/trace")
    [[ -z $opened ]] || fail "$name opened Qt libraries:"$'\n'"$opened"
    grep -q 'openat(' "$work/trace" || fail "$name: the trace holds no openat at all"
done

if [[ -n $module ]]; then
    # The module is found and loaded: its own message about the missing display, with Qt in
    # the trace.
    run "a desktop start without a display" 1 "${no_display[@]}" "$program"
    grep -q 'no display' "$work/stderr" || fail "no display: $(cat "$work/stderr")"
    [[ -n $(qt_libraries "$work/trace") ]] || fail "the desktop start loaded no Qt library"

    # The program where its module is missing, and where the module is not one.
    folder=$(realpath --relative-to="$(dirname "$(realpath "$program")")" "$(dirname "$module")")
    for case in missing empty; do
        mkdir -p "$work/$case/bin/$folder"
        cp "$program" "$work/$case/bin/tallyweaver"
        [[ $case == missing ]] || : >"$work/$case/bin/$folder/$(basename "$module")"
        run "a desktop start, module $case" 1 "${no_display[@]}" "$work/$case/bin/tallyweaver"
        grep -q 'the desktop program cannot start' "$work/stderr" ||
            fail "module $case: $(cat "$work/stderr")"
        grep -qF "$(basename "$module")" "$work/stderr" ||
            fail "module $case: the message does not name the module"
        opened=$(qt_libraries "$work/trace")
        [[ -z $opened ]] || fail "module $case: Qt libraries opened:"$'\n'"$opened"
    done
fi

[[ $failures -eq 0 ]] || exit 1
echo "console-libraries-test: passed"
