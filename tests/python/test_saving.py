"""save_frames writes what the class's saveFrames writes: the same pages,
read back with tifffile, and the same file but for its time stamp."""
import fcntl
import re
import shutil
import subprocess
import textwrap

import numpy as np
import pytest
import tifffile

import quorvel
from conftest import MEX_DIR, record
from quorvel import sim


def tags_of(path):
    """Every page's tags, the time of saving taken out."""
    def value(tag):
        return re.sub(r'"savedAt":"[^"]*"', "", tag.value) if tag.name == "ImageDescription" else tag.value
    with tifffile.TiffFile(path) as tiff:
        return [{tag.name: value(tag) for tag in page.tags.values() if tag.name != "DateTime"} for page in tiff.pages]


def test_saved_pages_read_back_as_the_frames(tmp_path):
    path = tmp_path / "run.tif"
    with quorvel.Camera(1001) as cam:
        record(cam, 12, 48, 32, 7)
        frames, _ = cam.read_frames(range(12))
        info = cam.save_frames(path, range(12))
        with pytest.raises(FileExistsError, match="overwrite=True"):
            cam.save_frames(path, [0])
        cam.save_frames(str(path), [3, 4, 9], overwrite=True)
    assert info["position"].tolist() == list(range(12)) and int(info["status"]) == 0
    assert np.array_equal(tifffile.imread(path), frames[[3, 4, 9]])


def test_a_file_saved_from_octave_is_the_same_file(tmp_path):
    if shutil.which("octave-cli") is None:
        pytest.skip("octave-cli is not installed")
    with quorvel.Camera(1001) as cam:
        record(cam, 10, 40, 30, 1)
        cam.save_frames(tmp_path / "python.tif", [0, 1, 2, 5, 6])
    script = textwrap.dedent(f"""
        addpath('{MEX_DIR}');
        QuorvelSim('reset');
        cam = QuorvelCamera(1001);
        cam.Width = 40; cam.Height = 30; cam.PixelFormat = 1;
        cam.startRecording(10, 4, 0, 10);
        cam.wait(10);
        cam.saveFrames('octave.tif', [0 1 2 5 6]);
        delete(cam);
    """)
    done = subprocess.run(["octave-cli", "--no-gui", "--norc", "--no-window-system", "--eval", script],
                          cwd=tmp_path, capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stderr
    assert np.array_equal(tifffile.imread(tmp_path / "python.tif"), tifffile.imread(tmp_path / "octave.tif"))
    assert tags_of(tmp_path / "python.tif") == tags_of(tmp_path / "octave.tif")
    assert (tmp_path / "python.tif").stat().st_size == (tmp_path / "octave.tif").stat().st_size


def test_a_long_name_is_saved_and_a_busy_file_refused_as_busy(tmp_path):
    folder = tmp_path / ("d" * 200)
    folder.mkdir()
    path = folder / ("f" * 100)  # past 255 characters, as the class's save takes
    with quorvel.Camera(1001) as cam:
        record(cam, 4, 16, 4, 1)
        cam.save_frames(path, [0, 1])
        with open(path, "rb") as held:  # another save's hold on the file
            fcntl.flock(held, fcntl.LOCK_EX)
            with pytest.raises(OSError, match=r"^Cannot write the file .*: another save is writing it"):
                cam.save_frames(path, [2], overwrite=True)
    assert len(tifffile.TiffFile(path).pages) == 2


def test_a_frame_the_driver_delivers_short_is_saved_as_read_without_bytes_of_earlier_frames(tmp_path):
    with quorvel.Camera(1001) as cam:
        record(cam, 8, 37, 9, 7)  # colour, 16-bit samples, an odd width
        cam.save_frames(tmp_path / "full.tif", range(6))  # the page buffers, kept for reuse, hold frames
        for delivered in (1, 1000, 1001):
            sim.partialFrame(1001, delivered, 0)
            short, _ = cam.read_frames([6])
            sim.partialFrame(1001, delivered, 0)
            cam.save_frames(tmp_path / "short.tif", [6], overwrite=True)
            assert np.count_nonzero(short) <= (delivered + 1) // 2
            assert np.array_equal(tifffile.imread(tmp_path / "short.tif"), short[0]), delivered
