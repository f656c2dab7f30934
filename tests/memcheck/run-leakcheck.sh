#!/usr/bin/env bash
# Runs session.m in octave-cli with MEX files built with AddressSanitizer
# and fails on any leak or error the sanitizers find in the module's or the
# driver's code. It needs no valgrind, so it checks the module's memory on machines
# where valgrind cannot run Octave.
#   tests/memcheck/run-leakcheck.sh <folder with the sanitized QuorvelML.mex>
set -uo pipefail
mex_dir=$(cd "${1:?usage: run-leakcheck.sh <folder with the sanitized QuorvelML.mex>}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runtime=$(ldd "$mex_dir/QuorvelML.mex" | awk '/libasan/ { print $3 }')
if [ -z "$runtime" ]; then
  echo "leak check: $mex_dir/QuorvelML.mex is not built with AddressSanitizer"
  exit 1
fi
# The full reports stay beside the build's mex folder for reading.
log=$(cd "$mex_dir/.." && pwd)/leakcheck.log
rm -f "$log".*
output=$(mktemp)
trap 'rm -f "$output"' EXIT
# The sanitizer runtime must come first in the process. The MEX files are
# preloaded too, so that they stay mapped after `clear QuorvelML` and the
# stacks of leaks found at exit still name their code.
(cd "$(mktemp -d)" && LD_PRELOAD="$runtime $mex_dir/QuorvelML.mex $mex_dir/QuorvelSim.mex" \
  ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:log_path="$log" \
  octave-cli --no-gui --norc --no-window-system \
  --eval "addpath('$mex_dir'); addpath('$here'); session") >"$output" 2>&1
status=$?
if ! grep -q 'memcheck session complete' "$output"; then
  cat "$output" "$log".* 2>/dev/null | head -60
  echo "leak check: the session did not run to its end (status $status)"
  exit 1
fi
source "$here/our-reports.sh"
ours=$(cat "$log".* 2>/dev/null | our_reports /dev/stdin '^$')
count=$(grep -c -E '^(Direct|Indirect) leak of|ERROR: AddressSanitizer|runtime error' <<<"$ours")
grep -h '^SUMMARY' "$log".* 2>/dev/null | sed 's/^/leak check (whole process): /'
if [ "$count" -ne 0 ]; then
  echo "$ours"
  echo "leak check: $count reports in the module's or the driver's code"
  exit 1
fi
echo "leak check: 0 reports in the module's or the driver's code"
