#!/usr/bin/env bash
# Builds the fuzz target with clang (AddressSanitizer, UndefinedBehavior-
# Sanitizer, libFuzzer) in build-fuzz and runs it for a bounded time from
# the kept corpus. New inputs go to a scratch folder, not into the corpus.
#   fuzz/run-fuzz.sh [seconds]        default 60
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON \
  -DQUORVEL_SANITIZE=address,undefined -DQUORVEL_OCTAVE=OFF -DQUORVEL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target quorvel_fuzz -- --no-print-directory -s
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Crash, leak and timeout reproducers are written to the scratch folder too.
status=0
build-fuzz/quorvel_fuzz -max_total_time="$seconds" -max_len=512 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$scratch/" "$scratch" fuzz/corpus >"$scratch/log" 2>&1 || status=$?
grep -E '^#[0-9]+\s+DONE|^stat::number_of_executed|^quorvel_fuzz:' "$scratch/log" || true
if [ "$status" -ne 0 ]; then
  mkdir -p build-fuzz/findings
  cp "$scratch/log" build-fuzz/findings/
  cp "$scratch"/crash-* "$scratch"/leak-* "$scratch"/oom-* "$scratch"/timeout-* build-fuzz/findings/ 2>/dev/null || true
  grep -E 'ERROR|contract broken|SUMMARY|^  in ' "$scratch/log" | head -20
  echo "fuzz: failed; the log and reproducers are in build-fuzz/findings"
fi
exit "$status"
