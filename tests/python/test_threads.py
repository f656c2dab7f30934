"""Waiting on the camera leaves the interpreter to other threads; exit and
fork leave no camera in a state that hangs or is shared."""
import ctypes
import os
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import quorvel
from quorvel import sim
from conftest import PACKAGE_DIR

LIMIT = 20  # seconds any of these may take before it counts as a hang


def test_other_threads_run_during_a_two_second_wait():
    ticks = []
    stop = threading.Event()

    def ticker():
        while not stop.is_set():
            ticks.append(time.monotonic())
            time.sleep(0.01)

    def wait_for_recording(failures):
        try:
            with quorvel.Camera(1001) as cam:
                sim.setMemory(1001, 256, 10)  # 20 frames take 2 s
                cam.start_recording(20, interval=20)
                cam.wait(timeout=LIMIT)
        except Exception as error:  # reported to the test's thread
            failures.append(error)

    failures = []
    waiter = threading.Thread(target=wait_for_recording, args=(failures,), daemon=True)
    ticking = threading.Thread(target=ticker, daemon=True)
    ticking.start()
    started = time.monotonic()
    waiter.start()
    waiter.join(LIMIT)
    stop.set()
    ticking.join(LIMIT)
    assert not waiter.is_alive(), "wait did not return"
    assert not failures, failures
    during = [t for t in ticks if started + 0.2 < t < started + 1.8]
    assert len(during) > 50, f"the ticker ran {len(during)} times in 1.6 s of waiting"


LIBC = ctypes.CDLL(None)
# glibc's _Fork forks as a raw clone does, running no fork handlers.
FORK_WITHOUT_HANDLERS = pytest.param(getattr(LIBC, "_Fork", None), id="_Fork",
                                     marks=pytest.mark.skipif(not hasattr(LIBC, "_Fork"), reason="no _Fork"))


@pytest.mark.parametrize("fork", [os.fork, FORK_WITHOUT_HANDLERS])
def test_a_forked_child_refuses_its_parents_handles(fork):
    cam = quorvel.Camera(1001)
    child = fork()
    if child == 0:  # the child reports by its exit status only
        refusals = 0
        for call in (lambda: cam.get_parameter(15), lambda: sim.camera(1001)):  # the simulator is the parent's too
            try:
                call()
            except RuntimeError as refused:
                refusals += "forked" in str(refused)
            except BaseException:
                os._exit(3)
        os._exit(0 if refusals == 2 else 1)
    deadline = time.monotonic() + LIMIT
    while (done := os.waitpid(child, os.WNOHANG))[0] == 0 and time.monotonic() < deadline:
        time.sleep(0.01)
    if done[0] == 0:
        os.kill(child, 9)
        pytest.fail("the child hung")
    assert os.waitstatus_to_exitcode(done[1]) == 0
    assert cam.get_parameter(15) > 0  # the parent's handle still works
    cam.close()


def test_interpreter_exit_closes_every_camera_and_stops_recordings():
    # Registered before the package's own, the check runs after it.
    script = (f"import sys; sys.path.insert(0, {PACKAGE_DIR!r})\n"
              "import atexit; atexit.register(lambda: print(sim.camera(1001)['open'], sim.memory(1001)['recording']))\n"
              "import quorvel\n"
              "from quorvel import sim\n"
              "sim.setMemory(1001, 256, 1)\n"
              "cams = [quorvel.Camera(i) for i in (1001, 1002)]\n"
              "cams[0].start_recording(200)\n")
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=LIMIT)
    assert done.returncode == 0, done.stderr
    assert done.stdout.split() == ["0", "False"]


def test_threads_on_several_cameras_neither_deadlock_nor_mix_frames():
    expected = {}
    for camera_id in (1001, 1004):
        with quorvel.Camera(camera_id) as cam:
            cam.width, cam.height, cam.pixel_format = 32, 16, 1
            cam.start_recording(8, interval=8)
            cam.wait(timeout=LIMIT)
            expected[camera_id] = cam.read_frames(range(8))[0]
    failures = []

    def read_repeatedly(cam, frames):
        try:
            for _ in range(50):
                got, _ = cam.read_frames(range(8))
                assert np.array_equal(got, frames)
                assert cam.grab().shape == (16, 32)
        except Exception as error:
            failures.append(error)

    cams = [quorvel.Camera(camera_id) for camera_id in expected]
    workers = [threading.Thread(target=read_repeatedly, args=(cam, expected[cam.camera_id]), daemon=True)
               for cam in cams for _ in range(2)]
    for worker in workers:
        worker.start()
    for worker in workers:
        worker.join(LIMIT)
    assert not any(worker.is_alive() for worker in workers), "a reader hung"
    assert not failures, failures
    for cam in cams:
        cam.close()


def test_a_wait_without_limit_ends_with_the_recording_and_a_signal_interrupts_it():
    class Interrupted(Exception):
        pass

    def interrupt(*_):
        raise Interrupted

    previous = signal.signal(signal.SIGALRM, interrupt)
    try:
        with quorvel.Camera(1001) as cam:
            cam.start_recording(4, interval=4)
            cam.wait(timeout=float("inf"))  # as the class's Inf: no limit
            sim.setMemory(1001, 256, 1)
            cam.start_recording(100, interval=100)
            signal.setitimer(signal.ITIMER_REAL, 0.3)
            started = time.monotonic()
            with pytest.raises(Interrupted):
                cam.wait(timeout=5)
            assert time.monotonic() - started < 2, "the signal waited for the timeout"
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)


@pytest.mark.parametrize("work", ["cam.wait(timeout=100)", "while True: cam.grab()"], ids=["wait", "grab"])
def test_interpreter_exit_with_a_thread_in_the_camera_ends_cleanly(work):
    script = (f"import sys, threading, time; sys.path.insert(0, {PACKAGE_DIR!r})\n"
              "import quorvel\n"
              "from quorvel import sim\n"
              "sim.setMemory(1001, 256, 1)\n"
              "cam = quorvel.Camera(1001)\n"
              "cam.start_recording(200)\n"
              "def work():\n"
              f"    {work}\n"
              "threading.Thread(target=work, daemon=True).start()\n"
              "time.sleep(0.3)\n")
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=LIMIT)
    assert done.returncode == 0, done.stderr
