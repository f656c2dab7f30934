#!/usr/bin/env bash
# Writes the Octave package quorvelml-<version>.tar.gz into <folder> and
# prints its path last. The package holds the module's and the simulated
# driver's sources under src/ with a Makefile that "pkg install" runs
# (mkoctfile), the MATLAB files and the class folder @QuorvelCamera under inst/ as the CMake build writes them
# into its MEX folder (with functionSignatures.json written from the command
# table, private/quorvelStatusTable.m from the status numbers,
# @QuorvelCamera/private/quorvelCommandBounds.m from the commands' bounds, and the error
# identifiers filled into QuorvelML.m), the
# examples, and DESCRIPTION, INDEX, COPYING, PKG_ADD, PKG_DEL. The build is
# the one in $QUORVEL_BUILD_DIR (default build/), configured here when it
# is missing.
set -euo pipefail
folder=${1:?usage: make-octave-package.sh <folder>}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVEL_BUILD_DIR:-$root/build}
version=$(sed -n 's/.*kVersionText = "\(.*\)";.*/\1/p' "$root/gateway/ModuleVersion.h")
[ -n "$version" ] || { echo "make-octave-package: no version text in gateway/ModuleVersion.h" >&2; exit 1; }

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target function_signatures command_bounds matlab_files simulator_help -- --no-print-directory -s >/dev/null

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
package="$stage/quorvelml-$version"
mkdir -p "$package/src" "$package/inst/private"
# The module's layers as layers.txt lists them (the Makefile reads it too),
# and the simulated driver.
layers=$(sed -n 's|^\([a-z][^/ ]*\).*|\1|p' "$root/layers.txt" | sort -u)
for part in $layers simulator; do
  cp -r "$root/$part" "$package/src/"
done
cp "$root/layers.txt" "$package/src/"
cp "$root/scripts/octave-package/Makefile" "$package/src/Makefile"
# The MATLAB files as the build wrote them (version and status numbers
# filled in), with the status table and the tab completion; not the MEX
# files and the driver, which "pkg install" builds.
tar -C "$build/mex" --exclude='*.mex' --exclude='*.so' -cf - . | tar -C "$package/inst" -xf -
# Contents.m names only what the package holds: the build script's section goes.
sed -i '/^% Building$/,/^%$/d' "$package/inst/Contents.m"
cp "$root"/examples/*.m "$package/inst/"
# The package's own tests, which "pkg test quorvelml" runs: the class's
# tests with their helpers, in a folder that is not on the path.
mkdir -p "$package/inst/tests"
cp "$root"/tests/octave/{test_camera_class,expect_equal,expect_raises,expect_true}.m "$root/scripts/octave-package/quorvelml-tst" \
  "$package/inst/tests/"
cp "$root"/scripts/octave-package/{INDEX,PKG_ADD,PKG_DEL} "$package/"
cp "$root/LICENSE" "$package/COPYING"
sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(date -u +%Y-%m-%d)/" \
  "$root/scripts/octave-package/DESCRIPTION.in" >"$package/DESCRIPTION"

mkdir -p "$folder"
tarball="$(cd "$folder" && pwd)/quorvelml-$version.tar.gz"
tar -C "$stage" -czf "$tarball" "quorvelml-$version"
echo "$tarball"
