"""Camera failures raise QuorvelError with the module's status number;
bad arguments raise TypeError or ValueError before any driver call."""
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
    sim.forceAfter("drvReadMemory", 2, 1)
    with pytest.raises(quorvel.QuorvelError) as raised:
        cam.read_frames(range(4))
    assert raised.value.status == 13 and raised.value.frames.shape[0] == 2
    assert raised.value.info["position"].tolist() == [0, 1]
    cam.close()


@pytest.mark.parametrize("call, kind, words", [
    (lambda cam: cam.set_parameter(11, -1), ValueError, "from 0 to 4294967295; -1 is outside"),
    (lambda cam: cam.set_parameter(11, 2.5), TypeError, "the value of parameter 11"),
    (lambda cam: cam.get_parameter("15"), TypeError, "number takes a whole number"),
    (lambda cam: cam.start_recording(True), TypeError, "frames"),
    (lambda cam: cam.read_frames(range(70000)), ValueError, "positions holds at most 65536"),
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
