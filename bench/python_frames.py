#!/usr/bin/python3
"""Reads recorded frames and grabs live ones through the Python package on
the simulated camera, each beside a plain copy of the same bytes into a
fresh numpy array made in the same run, and prints the median times and
their ratio, copy time / quorvel time (1.0: as fast as the copy).

usage: /usr/bin/python3 bench/python_frames.py [build dir] [--quick]
"""
import os
import statistics
import sys
import time

import numpy as np

BUILD = next((a for a in sys.argv[1:] if not a.startswith("--")), "build")
sys.path.insert(0, os.path.join(BUILD, "python"))
import quorvel  # noqa: E402
from quorvel import sim  # noqa: E402

REPEATS = 3 if "--quick" in sys.argv else 7
FORMATS = {"mono8": 0, "mono16": 1, "colour": 7}  # readout: colour uint16; live: colour uint8
SIZES = [(640, 480, 256), (1024, 1024, 256), (2048, 2048, 32)]  # W, H, frames read


def median_time(work, repeats=REPEATS):
    times = []
    for _ in range(repeats):
        started = time.perf_counter()
        work()
        times.append(time.perf_counter() - started)
    return statistics.median(times)


def fresh_copy(source):
    """The baseline: the same bytes copied into a fresh array (allocation included)."""
    copy = np.empty_like(source)
    np.copyto(copy, source)
    return copy


def main():
    sim.reset()
    rows = []
    with quorvel.Camera(1001) as cam:
        for width, height, frames in SIZES:
            sim.setMemory(1001, frames, 100000)
            for name, pixel_format in FORMATS.items():
                cam.width, cam.height, cam.pixel_format = width, height, pixel_format
                cam.start_recording(frames, interval=frames)
                cam.wait(timeout=60)
                positions = range(frames)
                stack, _ = cam.read_frames(positions)
                read = median_time(lambda: cam.read_frames(positions))
                copied = median_time(lambda: fresh_copy(stack))
                out = np.empty_like(stack)
                into = median_time(lambda: cam.read_frames(positions, out=out))
                image = cam.grab()
                # Single grabs, many of them: a grab lasts milliseconds at most, so
                # one preempted call must not stand for a whole sample.
                grab = median_time(cam.grab, 5 * REPEATS)
                grab_copy = median_time(lambda: fresh_copy(image), 5 * REPEATS)
                rows.append((name, f"{width}x{height}", frames, stack.nbytes / 2**20, copied / read, copied / into,
                             grab_copy / grab))
                del stack, out
    print(f"{'format':7} {'W x H':>10} {'frames':>6} {'MiB':>7} {'read':>6} {'out=':>6} {'grab':>6}")
    for name, size, frames, mib, read, into, grab in rows:
        print(f"{name:7} {size:>10} {frames:>6} {mib:>7.0f} {read:>6.2f} {into:>6.2f} {grab:>6.2f}")
    print("ratios: copy time / quorvel time, medians of", REPEATS)


if __name__ == "__main__":
    main()
