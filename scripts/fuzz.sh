#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60), starting
# from the seed corpus in tests/fuzz/corpus and the inputs of tests/fuzz/regressions. Inputs
# that crash, leak or hang land in build/fuzz/artifacts/<target>/, and the script fails; copy
# each into tests/fuzz/regressions/<folder>/ once fixed. CI runs it (scripts/test.sh).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]    targets: countFile loadProject parseCommandLine
#                                                     readListFile matchPattern (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(countFile loadProject parseCommandLine readListFile matchPattern)

bash scripts/bootstrap.sh >/dev/null
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  apt-get install -y --no-install-recommends clang libclang-rt-dev >/dev/null || \
    sudo apt-get install -y --no-install-recommends clang libclang-rt-dev >/dev/null
fi

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTW_FUZZ=ON -DTW_CORE_ONLY=ON -DTW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

declare -A corpus=([countFile]=count [loadProject]=project [parseCommandLine]=commandline
                   [readListFile]=listfile [matchPattern]=pattern)
declare -A maxlen=([countFile]=65536 [loadProject]=16384 [parseCommandLine]=1024
                   [readListFile]=8192 [matchPattern]=256)
failed=()
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  # The seeds, and every input that once failed, start each run.
  cp -n "tests/fuzz/corpus/${corpus[$target]}"/* "$work"/ 2>/dev/null || true
  cp -n "tests/fuzz/regressions/${corpus[$target]}"/* "$work"/ 2>/dev/null || true
  echo "== $target for ${seconds}s"
  status=0
  "$build/tests/fuzz/fuzz_$target" "$work" -max_total_time="$seconds" \
    -max_len="${maxlen[$target]}" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 >"$build/$target.log" 2>&1 || status=$?
  grep -E '^(stat::|#[0-9]+ *DONE|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' \
    "$build/$target.log" || true
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: findings in ${failed[*]}; the inputs are in $build/artifacts/" >&2
  exit 1
fi
