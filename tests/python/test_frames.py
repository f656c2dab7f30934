"""Frames from Python hold what the MATLAB side's do, byte for byte: the
same simulated recordings read through QuorvelML in octave-cli."""
import os
import shutil
import subprocess
import textwrap

import numpy as np
import pytest

import quorvel
from conftest import MEX_DIR, record

# pixel format -> (readout dtype, colour) on the colour camera 1001
FORMATS = {0: ("uint8", False), 1: ("uint16", False), 2: ("uint8", True), 7: ("uint16", True)}
FRAMES, WIDTH, HEIGHT = 6, 40, 30


def run_octave(tmp_path, body):
    """Runs body in octave-cli in tmp_path with camera 1001 open as cam on a reset simulator; its output."""
    if shutil.which("octave-cli") is None:
        pytest.skip("octave-cli is not installed")
    script = f"addpath('{MEX_DIR}'); QuorvelSim('reset'); cam = QuorvelCamera(1001);\n" + textwrap.dedent(body)
    done = subprocess.run(["octave-cli", "--no-gui", "--norc", "--no-window-system", "--eval", script],
                          cwd=tmp_path, capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stderr
    return done.stdout


def octave_frames(tmp_path, pixel_format):
    """The recording's frames and a grab as Octave reads them, written in C order."""
    output = run_octave(tmp_path, f"""
        cam.Width = {WIDTH}; cam.Height = {HEIGHT}; cam.PixelFormat = {pixel_format};
        cam.startRecording({FRAMES}, 4, 0, {FRAMES});
        cam.wait(10);
        frames = cam.readFrames(0:{FRAMES - 1});
        image = cam.grab();
        order = [2 1 3]; if ndims(frames) == 4, order = [3 2 1 4]; end
        f = fopen('frames.bin', 'w'); fwrite(f, permute(frames, order), class(frames)); fclose(f);
        f = fopen('grab.bin', 'w'); fwrite(f, permute(image, order(1:ndims(image))), class(image)); fclose(f);
        printf('%s %s\\n', class(frames), class(image));
        delete(cam);
    """)
    stack_class, image_class = output.split()[-2:]
    return (np.fromfile(tmp_path / "frames.bin", dtype=stack_class),
            np.fromfile(tmp_path / "grab.bin", dtype=image_class))


@pytest.mark.parametrize("pixel_format", sorted(FORMATS))
def test_frames_and_grab_match_the_matlab_side(tmp_path, pixel_format):
    dtype, colour = FORMATS[pixel_format]
    with quorvel.Camera(1001) as cam:
        record(cam, FRAMES, WIDTH, HEIGHT, pixel_format)
        frames, info = cam.read_frames(range(FRAMES))
        image = cam.grab()
    shape = (FRAMES, HEIGHT, WIDTH) + ((3,) if colour else ())
    assert frames.shape == shape and frames.dtype == dtype and frames.flags.c_contiguous
    assert image.shape == shape[1:] and image.dtype == ("uint8" if colour else dtype)
    assert info["position"].tolist() == list(range(FRAMES))
    assert info["trigger_index"].tolist() == [k - 4 for k in range(FRAMES)]
    assert frames.any(), "a simulated frame is not all zeros"
    octave_stack, octave_image = octave_frames(tmp_path, pixel_format)
    assert octave_stack.dtype == frames.dtype and octave_stack.tobytes() == frames.tobytes()
    assert octave_image.tobytes() == image.tobytes()


# Widths (16 at least) about the colour swap's vector blocks (16 and 32
# pixels of 8-bit samples, 8 and 16 of 16-bit ones), one line high so that
# the frame is exactly that many pixels: 1, 2, 3 or 15 past a block.
ODD_WIDTHS = (16, 17, 18, 19, 31, 33)


@pytest.mark.parametrize("pixel_format", [2, 7])
def test_colour_frames_of_odd_widths_match_the_matlab_side(tmp_path, pixel_format):
    run_octave(tmp_path, f"""
        for w = [{' '.join(map(str, ODD_WIDTHS))}]
          cam.Width = w; cam.Height = 1; cam.PixelFormat = {pixel_format};
          cam.startRecording(2, 1, 0, 2); cam.wait(10);
          frames = cam.readFrames(0:1); image = cam.grab();
          f = fopen(sprintf('%d.bin', w), 'w');
          fwrite(f, permute(frames, [3 2 1 4]), class(frames)); fwrite(f, permute(image, [3 2 1]), class(image));
          fclose(f);
        end
        delete(cam);
    """)
    with quorvel.Camera(1001) as cam:
        for width in ODD_WIDTHS:
            record(cam, 2, width, 1, pixel_format, trigger=1)
            frames, _ = cam.read_frames([0, 1])
            image = cam.grab()
            assert frames.shape == (2, 1, width, 3) and image.shape == (1, width, 3)
            octave = (tmp_path / f"{width}.bin").read_bytes()
            assert octave == frames.tobytes() + image.tobytes(), f"width {width}"


def test_reading_into_a_callers_array_and_segments():
    with quorvel.Camera(1001) as cam:
        record(cam, 8, 32, 16, 1)
        fresh, _ = cam.read_frames([5, 2, 7])
        out = np.full((3, 16, 32), 7, dtype=np.uint16)
        frames, _ = cam.read_frames([5, 2, 7], out=out)
        assert frames is out and np.array_equal(out, fresh)
        with pytest.raises(ValueError, match=r"out must have the shape \(3, 16, 32\) and dtype uint16"):
            cam.read_frames([5, 2, 7], out=np.zeros((3, 16, 32), dtype=np.uint8))
        with pytest.raises(ValueError, match="C-contiguous"):
            cam.read_frames([1, 2], out=np.zeros((16, 2, 32), dtype=np.uint16).transpose(1, 0, 2))
        stacked, info = cam.read_segments([0])
        assert stacked.shape == (1, 16, 32) and np.isnan(info["position"]).all() and info["segment"].tolist() == [0]
        empty, _ = cam.read_frames([])
        assert empty.shape == (0, 16, 32)


def test_a_frame_the_driver_writes_past_its_end_stays_in_the_arrays_memory():
    from quorvel import sim
    with quorvel.Camera(1001) as cam:
        record(cam, 4, 16, 8, 0)
        clean, _ = cam.read_frames(range(4))
        sim.frameExcess(1001, 16 * 8 * 5)  # the most a readout may write: W x H x 6
        excess, _ = cam.read_frames(range(4))
        # out= lies in a larger block whose rest must stay as it was (the excess is 0xA5).
        block = np.full(clean.nbytes + 16 * 8 * 6, 0x5A, dtype=np.uint8)
        out = block[:clean.nbytes].reshape(clean.shape)
        cam.read_frames(range(4), out=out)
    assert np.array_equal(excess, clean) and np.array_equal(out, clean)
    assert (block[clean.nbytes:] == 0x5A).all()


@pytest.mark.parametrize("out", [
    np.zeros((2, 16, 64), np.uint8),  # the frames' bytes, but another shape and dtype
    np.zeros((2, 16, 32), np.int16),
    np.zeros(2 * 16 * 32, np.uint16),
    np.zeros((2, 16, 32), ">u2"),
    np.full(2 * 16 * 32 * 2 // 8, None, dtype=object),  # pointers the driver must never write
], ids=["uint8", "int16", "flat", "big-endian", "object"])
def test_an_out_array_of_another_shape_or_dtype_is_refused_untouched(out):
    before = out.copy()
    with quorvel.Camera(1001) as cam:
        record(cam, 4, 32, 16, 1)
        with pytest.raises(ValueError, match=r"out must have the shape \(2, 16, 32\) and dtype uint16"):
            cam.read_frames(range(2), out=out)
    assert out.dtype == before.dtype and out.tobytes() == before.tobytes()


@pytest.mark.parametrize("extra_frames", [0, 3])
def test_each_grab_owns_its_frame(extra_frames):
    """The driver writes a grab where its array lies (or, with extra frames, beside it):
    an array is never a view of memory a later grab writes."""
    with quorvel.Camera(1001) as cam:
        cam.width, cam.height, cam.pixel_format = 24, 5, 0
        cam.set_parameter(7, extra_frames)
        first, second = cam.grab(), cam.grab()
    row, column = np.mgrid[0:5, 0:24]
    # the simulator's live frame n: column + 3 * row + 8 * n, modulo 256
    assert np.array_equal(first, (column + 3 * row) % 256)
    assert np.array_equal(second, (column + 3 * row + 8 * (extra_frames + 1)) % 256)
    assert first.base is None or first.base is not second.base
