#!/usr/bin/env bash
# The main job: counts this repository's own sources with the console run, in the Executable
# mode with a list report. Installs what is missing and builds the program first.
# The quick summary and the report land in out/ at the top of the repository:
#   out/output_DD_MM_YYYY_hh_mm_ss.txt and out/report_DD_MM_YYYY_hh_mm_ss.txt
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target tallyweaver -j "$(nproc)"

mkdir -p out
status=0
"$build/src/app/tallyweaver" -dir src -ext .cpp .h -mode e -report list -out out -quiet || status=$?
echo "count-sources.sh: exit code $status; files written to $(pwd)/out:"
ls -t out | head -n 2
exit "$status"
