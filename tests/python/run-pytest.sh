#!/usr/bin/env bash
# Runs the Python package's tests on the simulated cameras, then, as
# doctests, the examples of its docstrings, docs/python.md and the
# README's Python quick start, with Debian's python3 (a python3 first on
# PATH may lack numpy) unless $QUORVEL_PYTHON names another.
#   tests/python/run-pytest.sh <build folder>
set -uo pipefail
build=$(cd "${1:?usage: run-pytest.sh <build folder>}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
python=${QUORVEL_PYTHON:-/usr/bin/python3}
if [ ! -d "$build/python/quorvel" ]; then
  echo "$build/python/quorvel was not built: CMake found no pybind11 or no Python headers"
  exit 1
fi
export QUORVEL_PYTHON_DIR=$build/python QUORVEL_MEX_DIR=$build/mex
# The files the tests and examples write land in a scratch folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
"$python" -m pytest -q -p no:cacheprovider "$root/tests/python" || exit 1
# The tests' fixture, which starts each example from the simulator's
# defaults, loaded as a plugin so that it reaches files outside tests/.
PYTHONPATH=$root/tests/python "$python" -m pytest -q -p no:cacheprovider -p conftest --doctest-modules \
  --doctest-glob='*.md' "$build/python/quorvel" "$root/docs/python.md" "$root/README.md"
