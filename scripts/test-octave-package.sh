#!/usr/bin/env bash
# Builds the Octave package, installs it with "pkg install" into a
# throwaway prefix, then in a fresh octave-cli loads it with "pkg load
# quorvelml", checks that QuorvelML, QuorvelCamera and QuorvelSim answer
# from the installed folder and that it saves to TIFF, that what Contents.m
# names, the help of QuorvelSim and the examples are there, and runs the
# package's own tests with "pkg test quorvelml" (the class's tests,
# tests/octave/test_camera_class.m, shipped in the package's tests/),
# which fail on a warning as on a failed check.
# Then "pkg unload" must close
# the cameras, and "pkg load" without the MEX file must warn with
# QuorvelML:notBuilt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tarball=$("$root/scripts/make-octave-package.sh" "$scratch/dist" | tail -n 1)
prefix="$scratch/prefix"
mkdir -p "$prefix"
setup="pkg prefix '$prefix' '$prefix'; pkg local_list '$prefix/octave_packages';"

# Octave's exit status is not telling (its exit may report a harmless
# exception), so each session's last line is checked instead.
run_octave() {
  (cd "$scratch" && octave-cli --no-gui --norc --no-window-system --eval "$1" 2>&1) \
    | grep -v 'ignoring const execution_exception' || true
}

run_octave "$setup pkg install -local '$tarball'; disp('installed');" | tee "$scratch/install.log" | tail -n 5
[ "$(tail -n 1 "$scratch/install.log")" = installed ]
if grep -i 'warning' "$scratch/install.log"; then exit 1; fi
run_octave "$setup pkg load quorvelml;
  folder = fileparts(fileparts(which('QuorvelCamera')));  % the class folder's parent
  assert(strncmp(folder, '$prefix', numel('$prefix')), 'QuorvelCamera is not the installed one');
  assert(exist('QuorvelML') == 3 && exist('QuorvelSim') == 3, 'the MEX files are not on the path');
  assert(QuorvelML('Version'), '2.14.00');
  assert(QuorvelCamera.list(), [1001 1002 1003 1004]);
  listed = regexp(fileread(fullfile(folder, 'Contents.m')), '\n%\s+(\w+)\s+- ', 'tokens');
  listed = cellfun(@(name) name{1}, listed, 'UniformOutput', false);
  missing = listed(~cellfun(@exist, listed));
  assert(numel(listed) > 3 && isempty(missing), 'Contents.m names %s, which the package lacks', strjoin(missing, ', '));
  assert(~isempty(strfind(get_help_text('QuorvelSim'), 'QUORVELSIM')), 'help QuorvelSim is not the help file');
  evalc('texts = example_timing_text(1003, 2);');
  assert(numel(texts), 2);
  disp('the package answers');" | tee "$scratch/load.log"
[ "$(tail -n 1 "$scratch/load.log")" = 'the package answers' ]
run_octave "$setup pkg test quorvelml" >"$scratch/class.log"
grep -q 'quorvelml-tst *pass *1/1' "$scratch/class.log" || { cat "$scratch/class.log"; false; }
# A warning is a fault even where every check passes: the test block
# refuses those the class's tests print, and this those of loading and
# running the package around them. (A negated command never stops a
# script under set -e, hence the if.)
if grep -i 'warning' "$scratch/class.log"; then cat "$scratch/class.log"; exit 1; fi
echo "the package's own tests (pkg test quorvelml): passed"
run_octave "$setup pkg load quorvelml;
  c = QuorvelCamera(1002); c.startRecording(2, 0, 0, 2); c.wait(5); c.stopRecording();
  saved = [tempname() '.tif']; c.saveFrames(saved, 0:1);
  printf('saved pages read back: %d\\n', isequal(quorvelReadFrames(saved), c.readFrames(0:1))); delete(saved);" \
  | tee "$scratch/save.log"
[ "$(tail -n 1 "$scratch/save.log")" = "saved pages read back: 1" ]

# pkg unload closes the cameras: the simulator, locked, keeps its state
# through the unload and is read from the installed folder afterwards.
run_octave "$setup pkg load quorvelml; folder = fileparts(which('QuorvelML'));
  QuorvelSim('lock'); camera = QuorvelCamera(1002); [~, id] = QuorvelML('OpenCamera', 1003);
  pkg unload quorvelml; addpath(folder);
  printf('open after unload: %d %d\\n', QuorvelSim('camera', 1002).open, QuorvelSim('camera', 1003).open);" |
  tee "$scratch/unload.log"
[ "$(tail -n 1 "$scratch/unload.log")" = 'open after unload: 0 0' ]

installed=$(dirname "$(find "$prefix" -name QuorvelML.mex)")
# The installed MEX files search their own folder, then the system's path.
[ "$(readelf -d "$installed/QuorvelML.mex" "$installed/QuorvelSim.mex" | grep -c 'Library runpath: \[\$ORIGIN\]$')" = 2 ]
rm "$installed/QuorvelML.mex"
run_octave "$setup pkg load quorvelml; [~, id] = lastwarn(); disp(id);" | tee "$scratch/notbuilt.log"
[ "$(tail -n 1 "$scratch/notbuilt.log")" = QuorvelML:notBuilt ]
