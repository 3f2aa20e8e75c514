#!/usr/bin/env bash
# A fuzzing campaign longer than the CI's short run: both targets (the parser
# on text in memory, and a form file read from disk) run side by side for
# SECONDS each, starting from the kept corpus in fuzz/corpus. Afterwards the
# small new inputs that add coverage are merged back into fuzz/corpus (commit
# them), and the figures of each target are printed. A crash stops its
# target and is left in build-native/fuzz/campaign/; once fixed, its input
# belongs in fuzz/regressions.
# Usage: tools/fuzz-campaign.sh SECONDS   (run it with nice on a shared box)
set -euo pipefail
seconds=${1:?usage: tools/fuzz-campaign.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
native="$root/build-native"
# Inputs stay small, in the run and in the repository: every line costs
# time, and a form's structure fits in far less. (Line ends across the file
# reader's 64 KiB chunks are covered by the unit tests.)
max_len=512

if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$native" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$native" --target parser_fuzz file_fuzz >/dev/null

# Recording where each allocation came from costs a large share of every
# execution; a crash input run again alone still shows where it broke.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}

work="$native/fuzz/campaign"
targets=(parser_fuzz file_fuzz)
declare -A pids
for target in "${targets[@]}"; do
  mkdir -p "$work/$target"
  "$native/fuzz/$target" -max_total_time="$seconds" -max_len=$max_len -print_final_stats=1 \
      -artifact_prefix="$work/$target-" "$work/$target" "$root/fuzz/corpus" \
      >"$work/$target.log" 2>&1 &
  pids[$target]=$!
done

failed=0
for target in "${targets[@]}"; do
  if ! wait "${pids[$target]}"; then
    failed=1
    echo "$target: FINDING, see $work/$target.log and $work/$target-*"
  fi
done

before=$(ls "$root/fuzz/corpus" | wc -l)
for target in "${targets[@]}"; do
  "$native/fuzz/$target" -merge=1 -max_len=$max_len "$root/fuzz/corpus" "$work/$target" \
      >"$work/$target-merge.log" 2>&1
done
after=$(ls "$root/fuzz/corpus" | wc -l)

total=0
for target in "${targets[@]}"; do
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log" | tail -1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$work/$target.log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$work/$target.log" | tail -1)
  echo "$target: ${runs:-0} executions in ${took:-?} s, $cov"
  total=$((total + ${runs:-0}))
done
echo "total: $total executions; corpus $before -> $after inputs"
exit $failed
