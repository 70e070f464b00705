#!/usr/bin/env bash
# Fails when a C++ source of the project does not match .clang-format. The counting fixtures
# under tests/fixtures are inputs, kept byte for byte as they were written, and are not checked.
#
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    rewrite the files that do not match
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h' 'packaging/*.cpp' 'packaging/*.h' ':!:tests/fixtures/*')

if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
else
  clang-format --dry-run -Werror "${sources[@]}"
  echo "check-format: ${#sources[@]} files match .clang-format"
fi
