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
# The program prints the quick summary and the names of the files it wrote.
exec "$build/src/app/tallyweaver" -dir src -ext .cpp .h -mode e -report list -out out -quiet
