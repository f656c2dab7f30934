#!/usr/bin/env bash
# Runs session.m in octave-cli under valgrind memcheck and fails on any
# error or leak whose stack passes through the module or the driver.
#   tests/memcheck/run-memcheck.sh <folder with QuorvelML.mex>
set -uo pipefail
mex_dir=${1:?usage: run-memcheck.sh <folder with QuorvelML.mex>}
here=$(cd "$(dirname "$0")" && pwd)
# The full report stays beside the build's mex folder for reading.
log=$(cd "$mex_dir/.." && pwd)/memcheck.log
output=$(mktemp)
trap 'rm -f "$output"' EXIT
# Keeps valgrind running Octave on processors without RDTSCP (see hwy-timer.cpp).
preload=$("$here/valgrind-preload.sh" "$(dirname "$log")") || exit 1
(cd "$(mktemp -d)" && LD_PRELOAD=$preload valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
  --errors-for-leak-kinds=definite --keep-debuginfo=yes --num-callers=40 --error-limit=no --log-file="$log" \
  octave-cli --no-gui --norc --no-window-system \
  --eval "addpath('$mex_dir'); addpath('$here'); session") >"$output" 2>&1
status=$?
if ! grep -q 'ERROR SUMMARY' "$log" || ! grep -q 'memcheck session complete' "$output"; then
  cat "$output"
  echo "memcheck: the session did not run to its end (status $status)"
  exit 1
fi
source "$here/our-reports.sh"
ours=$(our_reports "$log" '^==[0-9]+== $')
count=$(grep -c -E '^==[0-9]+== (Invalid|Conditional|Use of uninitialised|Mismatched|Source and destination|Syscall param|[0-9,]+ (\([0-9,]+ direct, [0-9,]+ indirect\) )?bytes in [0-9,]+ blocks are (definitely|indirectly) lost)' <<<"$ours")
grep -E '^==[0-9]+== (ERROR SUMMARY|   definitely lost)' "$log" | sed 's/^==[0-9]*== /memcheck (whole process): /'
if [ "$count" -ne 0 ]; then
  echo "$ours"
  echo "memcheck: $count reports in the module's or the driver's code"
  exit 1
fi
echo "memcheck: 0 reports in the module's or the driver's code"
