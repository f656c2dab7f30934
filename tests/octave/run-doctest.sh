#!/usr/bin/env bash
# Runs the help examples of QuorvelML, QuorvelCamera, quorvelStatusText and
# QuorvelSim with octave-doctest (doctest_help.m), with the built MEX
# files on the path.
#   tests/octave/run-doctest.sh <folder with QuorvelML.mex>
set -uo pipefail
mex_dir=${1:?usage: run-doctest.sh <folder with QuorvelML.mex>}
here=$(cd "$(dirname "$0")" && pwd)
output=$(cd "$(mktemp -d)" && timeout 600 octave-cli --no-gui --norc --no-window-system \
  --eval "addpath('$mex_dir'); addpath('$here'); QuorvelSim('reset'); doctest_help" 2>&1 |
  grep -v 'ignoring const execution_exception')
echo "$output"
last=$(tail -n 1 <<<"$output")
[[ $last =~ ^doctest:\ ([0-9]+)\ of\ ([0-9]+)\ examples\ passed\;\ every ]] && [ "${BASH_REMATCH[1]}" = "${BASH_REMATCH[2]}" ]
