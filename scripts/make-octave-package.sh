#!/usr/bin/env bash
# Writes the Octave package quorvelml-<version>.tar.gz into <folder> and
# prints its path last. The package holds the module's and the simulated
# driver's sources under src/ with a Makefile that "pkg install" runs
# (mkoctfile), the MATLAB files under inst/ with functionSignatures.json
# written from the command table and private/quorvelStatusTable.m from the
# status numbers, the examples, and DESCRIPTION, INDEX, COPYING, PKG_ADD,
# PKG_DEL. The written files (those two, private/quorvelCommandBounds.m
# and the help file QuorvelML.m with its error identifiers) come from the
# CMake build in $QUORVEL_BUILD_DIR (default build/), configured here when
# it is missing.
set -euo pipefail
folder=${1:?usage: make-octave-package.sh <folder>}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVEL_BUILD_DIR:-$root/build}
version=$(sed -n 's/.*kVersionText = "\(.*\)";.*/\1/p' "$root/gateway/ModuleVersion.h")
[ -n "$version" ] || { echo "make-octave-package: no version text in gateway/ModuleVersion.h" >&2; exit 1; }

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target function_signatures status_table command_bounds matlab_files -- --no-print-directory -s >/dev/null

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
package="$stage/quorvelml-$version"
mkdir -p "$package/src" "$package/inst/private"
for part in common gateway camera acquisition driver simulator; do
  cp -r "$root/$part" "$package/src/"
done
cp "$root/scripts/octave-package/Makefile" "$package/src/Makefile"
for file in "$root"/matlab/*.m; do
  [ "$(basename "$file")" = build_quorvelml.m ] || cp "$file" "$package/inst/"  # it builds from a source tree
done
# Contents.m names only what the package holds: the build script's section goes.
sed '/^% Building$/,/^%$/d' "$root/matlab/Contents.m" >"$package/inst/Contents.m"
cp "$root"/examples/*.m "$package/inst/"
cp "$build/mex/functionSignatures.json" "$package/inst/"
cp "$build/mex/private/quorvelStatusTable.m" "$build/mex/private/quorvelCommandBounds.m" "$package/inst/private/"
cp "$build/mex/QuorvelML.m" "$package/inst/"  # the help file with its list of error identifiers written out
cp "$root"/matlab/private/*.m "$package/inst/private/"
cp "$root"/scripts/octave-package/{INDEX,PKG_ADD,PKG_DEL} "$package/"
cp "$root/LICENSE" "$package/COPYING"
sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(date -u +%Y-%m-%d)/" \
  "$root/scripts/octave-package/DESCRIPTION.in" >"$package/DESCRIPTION"

mkdir -p "$folder"
tarball="$(cd "$folder" && pwd)/quorvelml-$version.tar.gz"
tar -C "$stage" -czf "$tarball" "quorvelml-$version"
echo "$tarball"
