"""Runs the package the build made (build/python, or $QUORVEL_PYTHON_DIR) on
the simulated cameras, each test from the simulator's defaults."""
import os
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PACKAGE_DIR = os.environ.get("QUORVEL_PYTHON_DIR", os.path.join(ROOT, "build", "python"))
MEX_DIR = os.environ.get("QUORVEL_MEX_DIR", os.path.join(ROOT, "build", "mex"))
sys.path.insert(0, PACKAGE_DIR)

import quorvel  # noqa: E402
from quorvel import _core, sim  # noqa: E402


@pytest.fixture(autouse=True)
def fresh_simulator():
    _core.close_everything()
    sim.reset()
    yield
    _core.close_everything()


def record(cam, frames=16, width=64, height=48, pixel_format=0, trigger=4):
    """Records frames at the size and format; waits for the end."""
    cam.width, cam.height, cam.pixel_format = width, height, pixel_format
    cam.start_recording(frames, trigger=trigger, interval=frames)
    cam.wait(timeout=10)
