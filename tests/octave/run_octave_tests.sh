#!/usr/bin/env bash
# Runs every tests/octave/test_*.m in its own octave-cli, with the built MEX
# files on the path, and ends in one summary line.
set -u
mex_dir=${1:?usage: run_octave_tests.sh <folder with QuorvelML.mex>}
here=$(cd "$(dirname "$0")" && pwd)
passed=0
failed=0
for test in "$here"/test_*.m; do
  name=$(basename "$test" .m)
  output=$(cd "$(mktemp -d)" && timeout 600 octave-cli --no-gui --norc --no-window-system \
    --eval "addpath('$mex_dir'); addpath('$here'); try, $name; catch err, printf('not ok - $name stopped: %s\\n', err.message); end" 2>&1)
  status=$?
  ok=$(grep -c '^ok - ' <<<"$output")
  bad=$(grep -c '^not ok - ' <<<"$output")
  if [ "$status" -ne 0 ] && ! grep -q 'ignoring const execution_exception' <<<"$output"; then
    bad=$((bad + 1))
    echo "not ok - $name exited with status $status"
  fi
  if [ "$bad" -gt 0 ] || [ "$ok" -eq 0 ]; then
    grep -v '^ok - ' <<<"$output" | sed "s/^/  [$name] /"
    [ "$ok" -eq 0 ] && [ "$bad" -eq 0 ] && bad=1
  fi
  passed=$((passed + ok))
  failed=$((failed + bad))
done
echo "octave: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
