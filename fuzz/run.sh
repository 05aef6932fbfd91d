#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target for SECONDS seconds each.
#   fuzz/run.sh SECONDS
# Seeds come from fuzz/corpus/<target>/ when that folder exists (it is only read); new inputs
# go to build/fuzz/corpus/<target>/ and crash inputs to build/fuzz/crashes/. Exits non-zero when
# the build fails or any target finds a crash, a leak or a timeout.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: fuzz/run.sh SECONDS" >&2
  exit 2
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
mkdir -p "$build/corpus" "$build/crashes"
failed=()
for source in fuzz/*_fuzz.cpp; do
  target=$(basename "$source" .cpp)
  binary="$build/fuzzers/$target"
  corpus=("$build/corpus/$target")
  mkdir -p "${corpus[0]}"
  [ -d "fuzz/corpus/$target" ] && corpus+=("fuzz/corpus/$target")
  echo "== $target: ${seconds}s" >&2
  if ! "$binary" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/crashes/$target-" "${corpus[@]}" 2>"$build/$target.log"; then
    tail -n 40 "$build/$target.log" >&2
    failed+=("$target")
  else
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/$target.log" >&2 || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]} (inputs in $build/crashes/)" >&2
  exit 1
fi
echo "fuzz: all targets ran ${seconds}s without a finding" >&2
