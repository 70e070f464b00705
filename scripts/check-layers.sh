#!/usr/bin/env bash
# Checks the layering of src/: a folder includes only its own headers and those of the layers
# below it (engine < project < report < cli, ui, app), and Qt only in src/ui and src/app.
# Prints each offending include and exits 1 when there is one: scripts/check-layers.sh [SRC]
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

# The folders each folder may include from, itself included.
declare -A allowed=(
    [engine]="engine"
    [project]="engine project"
    [report]="engine project report"
    [cli]="engine project report cli"
    [ui]="engine project report ui"
    [app]="engine project report cli ui app"
)
qt_allowed="ui app"

failures=0
for layer in "${!allowed[@]}"; do
    [[ -d "$src/$layer" ]] || continue
    while IFS= read -r -d '' file; do
        lineno=0
        while IFS= read -r line; do
            lineno=$((lineno + 1))
            [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+) ]] ||
                continue
            quote=${BASH_REMATCH[1]}
            header=${BASH_REMATCH[2]}
            if [[ "$quote" == '"' && "$header" == */* ]]; then
                folder=${header%%/*}
                if [[ -n "${allowed[$folder]+x}" && " ${allowed[$layer]} " != *" $folder "* ]]; then
                    echo "$file:$lineno: src/$layer may not include $header (a higher layer)"
                    failures=$((failures + 1))
                fi
            fi
            if [[ "$quote" == "<" && "$header" =~ ^Q[A-Za-z]*(/|$) && " $qt_allowed " != *" $layer "* ]]; then
                echo "$file:$lineno: src/$layer may not include Qt ($header)"
                failures=$((failures + 1))
            fi
        done <"$file"
    done < <(find "$src/$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done

if ((failures > 0)); then
    echo "check-layers: $failures include(s) break the layering" >&2
    exit 1
fi
echo "check-layers: every include of src/ keeps to its layer"
