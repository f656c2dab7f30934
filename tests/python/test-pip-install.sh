#!/usr/bin/env bash
# Installs the package as docs/python.md says, with pip into a virtual
# environment that sees Debian's numpy, from a copy of the source tree (an
# install builds in the tree it is given), then runs the first lines of
# the quick start with the installed package, from a folder outside both:
# the extension, the simulated driver beside it and the settings table
# must all have been installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/source" "$scratch/elsewhere"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && xargs -0 tar -cf - --ignore-failed-read 2>/dev/null) | tar -xf - -C "$scratch/source"
/usr/bin/python3 -m venv --system-site-packages "$scratch/venv"
"$scratch/venv/bin/pip" install -q --no-build-isolation --no-index "$scratch/source"
rm -rf "$scratch/source"
cd "$scratch/elsewhere"
"$scratch/venv/bin/python" - "$scratch/venv" <<'PY'
import os, sys
import quorvel
installed = os.path.dirname(quorvel.__file__)
assert installed.startswith(sys.argv[1]), f"quorvel was imported from {installed}, not the environment"
assert quorvel.list_cameras() == [1001, 1002, 1003, 1004], quorvel.list_cameras()
driver = quorvel.driver_info()
assert driver["simulated"] and os.path.dirname(driver["path"]) == installed, driver
with quorvel.Camera(1001) as cam:
    cam.width, cam.height, cam.pixel_format = 320, 240, 7
    assert cam.grab().shape == (240, 320, 3)
    assert cam.setting_names(), "the settings table was not installed"
print("installed with pip:", installed)
PY
