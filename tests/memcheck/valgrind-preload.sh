#!/usr/bin/env bash
# Builds the library preloaded into Octave under valgrind (hwy-timer.cpp)
# into <folder>, when missing or older than its source, and prints its path.
#   tests/memcheck/valgrind-preload.sh <folder>
set -euo pipefail
folder=${1:?usage: valgrind-preload.sh <folder>}
here=$(cd "$(dirname "$0")" && pwd)
library=$(mkdir -p "$folder" && cd "$folder" && pwd)/libhwy-timer.so
if [ ! -f "$library" ] || [ "$here/hwy-timer.cpp" -nt "$library" ] || [ "$here/hwy-timer.map" -nt "$library" ]; then
  c++ -shared -fPIC -O2 -Wl,--version-script="$here/hwy-timer.map" "$here/hwy-timer.cpp" -o "$library"
fi
echo "$library"
