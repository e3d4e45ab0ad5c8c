#!/usr/bin/env bash
# The long fuzzing run: each libFuzzer target for SECONDS (default 300) over
# its corpus, under the address and undefined-behaviour sanitizers. Prints
# each target's executions; a finding stops with the crashing input saved in
# build/sanitize/tests/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
scripts/install-deps.sh
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$(nproc)"
cd build/sanitize/tests/fuzz
# Every fuzzer the build made (the list of targets lives in tests/fuzz/CMakeLists.txt).
for program in fuzz_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  target=${program#fuzz_}
  mkdir -p "found/$target"
  ./fuzz_$target -max_total_time="$seconds" -print_final_stats=1 "found/$target" \
    "../../../../tests/fuzz/corpus/$target" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY" \
    | sed "s/^/$target: /"
done
