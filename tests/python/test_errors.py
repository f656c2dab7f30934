"""Camera failures raise QuorvelError with the module's status number;
bad arguments raise TypeError or ValueError before any driver call."""
import pickle
import threading
import time

import numpy as np
import pytest

import quorvel
from quorvel import sim
from conftest import record


def open_recorded():
    cam = quorvel.Camera(1001)
    record(cam, 4)
    return cam


# (driver operation failing, what the handle does, the status, the command named)
FAILURES = [
    ("drvOpenCamera", lambda cam: quorvel.Camera(1002), 2, "OpenCamera"),
    ("drvLoadSettings", lambda cam: quorvel.Camera(1002), 5, "OpenCamera"),
    ("drvCloseCamera", lambda cam: cam.close(), 6, "CloseCamera"),
    ("drvGetParameter", lambda cam: cam.width, 7, "GetParameter"),
    ("drvSetParameter", lambda cam: cam.set_parameter(11, 500), 8, "SetParameter"),
    ("drvGetCameraInfo", lambda cam: (sim.clearForced(), sim.forceWhere("drvGetCameraInfo", 1, 12, 1),
                                      cam.read_frames([0])), 9, "MemoryReadFrames"),
    ("drvGrabFrames", lambda cam: cam.grab(), 12, "SynchGrab"),
    ("drvStartRecording", lambda cam: cam.start_recording(4), 12, "MemoryStartGrab"),
    ("drvReadMemory", lambda cam: cam.read_frames([0]), 13, "MemoryReadFrames"),
    ("drvReadTriggerPosition", lambda cam: cam.trigger_position(), 14, "MemoryReadTriggerPosition"),
    ("drvStopRecording", lambda cam: cam.stop_recording(), 15, "MemoryStopGrab"),
]


@pytest.mark.parametrize("operation, action, status, command", FAILURES, ids=[f[0] for f in FAILURES])
def test_a_driver_failure_raises_its_status_number(operation, action, status, command):
    cam = open_recorded()
    sim.force(operation, 1)
    with pytest.raises(quorvel.QuorvelError) as raised:
        action(cam)
    assert (raised.value.status, raised.value.command) == (status, command)
    assert str(raised.value) == quorvel.status_text(status)
    assert sim.camera(1002)["open"] == 0  # an open that failed left nothing open
    sim.clearForced()
    cam.close()


def test_format_refusals_and_a_partial_read_keep_what_was_read():
    with quorvel.Camera(1002) as mono:  # the simulator's type 2: 8-bit mono only
        for pixel_format, status in ((1, 18), (7, 18)):
            with pytest.raises(quorvel.QuorvelError) as refused:
                mono.pixel_format = pixel_format
            assert (refused.value.status, refused.value.command) == (status, "CheckPixelFormat")
    with quorvel.Camera(1004) as mono:  # mono, not of type 2: mono16 yes, colour no
        mono.pixel_format = 1
        with pytest.raises(quorvel.QuorvelError) as refused:
            mono.pixel_format = 7
        assert refused.value.status == 3
    cam = open_recorded()
    cam.read_frames(range(4))  # a small stack, freed: the next comes from the same memory
    sim.forceAfter("drvReadMemory", 2, 1)
    with pytest.raises(quorvel.QuorvelError) as raised:
        cam.read_frames(range(4))
    assert raised.value.status == 13 and raised.value.frames.shape[0] == 2
    assert raised.value.info["position"].tolist() == [0, 1]
    assert not raised.value.frames.base[2:].any()  # the frames never read are no earlier stack's
    cam.close()


@pytest.mark.parametrize("call, kind, words", [
    (lambda cam: cam.set_parameter(11, -1), ValueError, "from 0 to 4294967295; -1 is outside"),
    (lambda cam: cam.set_parameter(11, 2.5), TypeError, "the value of parameter 11"),
    (lambda cam: cam.get_parameter("15"), TypeError, "number takes a whole number"),
    (lambda cam: cam.start_recording(True), TypeError, "frames"),
    (lambda cam: cam.read_frames(range(70000)), ValueError, "positions holds at most 65536"),
    (lambda cam: cam.read_frames(range(2**64)), ValueError, "positions holds at most 65536"),
    (lambda cam: cam.read_segments(range(0, 10**12, 3)), ValueError, "numbers holds at most 65536"),
    (lambda cam: cam.read_frames(range(5, -2, -1)), ValueError, "each of positions .* -1 is outside"),
    (lambda cam: cam.read_frames([0, 2**64]), ValueError, "each of positions"),
    (lambda cam: cam.read_frames(np.zeros((2, 2), dtype=int)), TypeError, "1-D"),
    (lambda cam: cam.read_segments([2**32]), ValueError, "from 0 to 4294967295"),
    (lambda cam: cam.read_frames([0], out=[0]), TypeError, "out takes a numpy array"),
    (lambda cam: cam.save_frames("", [0]), ValueError, "file takes a non-empty name"),
    (lambda cam: cam.save_frames(3, [0]), TypeError, "file takes a file name"),
    (lambda cam: cam.save_frames("none.tif", []), ValueError, "positions holds no number"),
    (lambda cam: cam.save_segments("none.tif", range(0)), ValueError, "numbers holds no number"),
    (lambda cam: cam.wait(timeout="1"), TypeError, "timeout"),
    (lambda cam: cam.wait(timeout=-1), ValueError, "timeout"),
    (lambda cam: cam.wait(timeout=True), TypeError, "timeout"),
])
def test_bad_arguments_are_refused_before_any_driver_call(call, kind, words):
    with quorvel.Camera(1001) as cam:
        sim.clearLog()
        with pytest.raises(kind, match=words.replace("(", r"\(")):
            call(cam)
        assert sim.log() == []


def test_limits_and_one_handle_per_camera():
    with quorvel.Camera(1001) as cam:
        low, high = cam.parameter_limits(15)
        with pytest.raises(ValueError, match=f"parameter 15 takes values from {low} to {high}; {high + 1}"):
            cam.width = high + 1
        for same in (1001, 0):  # 0: the first camera found
            with pytest.raises(ValueError, match="camera 1001 is open in another handle"):
                quorvel.Camera(same)
    again = quorvel.Camera(1001)  # the with block closed it
    again.close()
    with pytest.raises(ValueError, match="this handle is closed"):
        again.grab()


def test_leaving_a_with_block_by_an_exception_closes_the_camera():
    with pytest.raises(KeyError):
        with quorvel.Camera(1001) as cam:
            raise KeyError("the caller's own failure")
    assert not cam.is_open
    quorvel.Camera(1001).close()


def test_frames_larger_than_the_host_answer_11_before_any_frame_is_asked_for():
    with quorvel.Camera(1001) as cam:  # the MATLAB side answers 11 for these sizes too
        record(cam, 4)
        for side in (2**31, 2**32 - 1):
            for number in (15, 16):
                sim.setParameter(1001, number, side, 16, side)
            sim.clearLog()
            for call in (cam.grab, lambda: cam.read_frames(range(4)), lambda: cam.read_frames([0])):
                with pytest.raises(quorvel.QuorvelError) as raised:
                    call()
                assert raised.value.status == 11, side
            assert sim.callCount("drvGrabFrames") == sim.callCount("drvReadMemory") == 0


def test_a_camera_the_driver_lost_is_let_go_and_opens_again_once_back():
    cam = quorvel.Camera(1001)
    sim.removeCamera(1001)  # unplugged
    assert not cam.is_open
    with pytest.raises(ValueError, match="closed"):
        cam.grab()
    cam.close()  # raises nothing
    sim.addCamera(1001, 5, 1)
    quorvel.Camera(1001).close()
    # lost during a wait, then opened again while the old handle is still about
    waiting = quorvel.Camera(1002)
    sim.setMemory(1002, 256, 1)
    waiting.start_recording(100, interval=100)
    threading.Timer(0.3, sim.removeCamera, (1002,)).start()
    started = time.monotonic()
    with pytest.raises(ValueError, match="camera 1002 is closed: the driver no longer has it"):
        waiting.wait(timeout=10)
    assert time.monotonic() - started < 3, "the wait ran on for a camera that is gone"
    sim.addCamera(1002, 2, 0)
    again = quorvel.Camera(1002)
    assert again.is_open and not waiting.is_open
    lost = quorvel.Camera(1003)
    sim.removeCamera(1003)
    with pytest.raises(ValueError, match="camera 1003 is closed: the driver no longer has it"):
        lost.width = 64  # a failed command
    again.close()


def test_a_camera_id_past_2_to_the_31_opens_as_it_is_listed():
    sim.addCamera(3000000000, 2, 0)
    assert 3000000000 in quorvel.list_cameras()
    with quorvel.Camera(3000000000) as cam:
        assert cam.camera_id == 3000000000 and cam.is_open and cam.width > 0


def test_a_quorvel_error_comes_back_whole_from_pickling_as_process_pools_send_it():
    error = quorvel.QuorvelError(13, "MemoryReadFrames", 1001, frames=np.ones((1, 2, 2), np.uint8))
    back = pickle.loads(pickle.dumps(error))
    assert (str(back), back.status, back.command, back.camera_id) == (str(error), 13, "MemoryReadFrames", 1001)
    assert np.array_equal(back.frames, error.frames)


def test_a_handle_is_neither_copied_nor_pickled_so_that_no_twin_closes_its_camera():
    import copy
    with quorvel.Camera(1001) as cam:
        for duplicate in (copy.copy, copy.deepcopy, pickle.dumps):
            with pytest.raises(TypeError, match="camera 1001: a handle cannot be copied"):
                duplicate(cam)
        assert cam.is_open
