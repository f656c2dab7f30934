"""The camera handle, as the MATLAB class QuorvelCamera offers it."""
import atexit
import math
import numbers
import time

import numpy as np

from . import _checks, _core, _settings
from ._errors import QuorvelError, check

_WIDTH, _HEIGHT, _PIXEL_FORMAT = 15, 16, 2
_HELD, _CLOSED, _LOST = 0, 1, 2  # what a handle holds (_core.handle_hold)
_SECONDS_PER_SAVE_CALL = 0.5

atexit.register(_core.close_everything)


def list_cameras(filter=0):
    """The ids of the cameras the driver finds.

    >>> list_cameras()
    [1001, 1002, 1003, 1004]
    """
    failed, ids = _core.list_cameras(_checks.whole(filter, "filter"))
    if failed:
        raise QuorvelError(failed, "EnumCameras", None)
    return list(ids)


def driver_info():
    """The driver library in use: its path and whether it is the simulator.

    >>> driver_info()['simulated']
    True
    """
    path, simulated = _core.driver_info()
    return {"path": path, "simulated": simulated}


class Camera:
    """An open camera; one handle per camera. Closes on leaving a with block.

    >>> with Camera(1001) as cam:
    ...     cam.width, cam.height, cam.pixel_format = 320, 240, 7
    ...     cam.start_recording(16, trigger=4, interval=16)
    ...     cam.wait(timeout=5.0)
    ...     frames, info = cam.read_frames(range(16))
    >>> frames.shape, frames.dtype.name, info['trigger_index'][:3].tolist()
    ((16, 240, 320, 3), 'uint16', [-4.0, -3.0, -2.0])
    """

    def __init__(self, camera_id=0):
        """Opens the camera with the id; 0 opens the first one found."""
        camera_id = _checks.whole(camera_id, "camera_id", 2**32 - 2)
        if camera_id == 0:
            camera_id = next(iter(list_cameras()), 0)  # so that a held first camera is refused as by its id
        status, opened, serial, held = _core.open_camera(camera_id)
        if held:
            raise ValueError(f"camera {camera_id} is open in another handle: close that one first")
        check(status, "OpenCamera", opened)
        self._id, self._serial, self._expected_reports, self._lost = opened, serial, None, False

    @property
    def camera_id(self):
        """The id the camera is open under."""
        return self._id

    @property
    def is_open(self):
        """True while this handle holds the camera and the driver still has it (one unplugged is let go)."""
        return self._hold() == _HELD

    def _hold(self):
        hold = _core.handle_hold(self._id, self._serial)
        self._lost = self._lost or hold == _LOST
        return hold

    def _closed(self):
        if self._lost:
            return ValueError(f"camera {self._id} is closed: the driver no longer has it (unplugged, switched off, "
                              f"or its driver reset); open it again with quorvel.Camera({self._id}) once it is back")
        return ValueError(f"camera {self._id}: this handle is closed")

    def _check(self, status, command, **kept):
        """Raises QuorvelError unless the status is 0; a handle whose camera is gone raises it closed."""
        if status != 0:
            if self._hold() != _HELD:
                raise self._closed()
            raise QuorvelError(status, command, self._id, **kept)

    def close(self):
        """Closes the camera; a closed handle stays closed."""
        check(_core.close_camera(self._id, self._serial), "CloseCamera", self._id)
        self._serial = 0

    def __enter__(self):
        return self

    def __exit__(self, kind, error, trace):
        try:
            self.close()
        except QuorvelError:
            if error is None:
                raise

    def __del__(self):
        try:
            if getattr(self, "_serial", 0):
                _core.close_camera(self._id, self._serial)
        except Exception:
            pass  # a handle given up, or one in a forked child, raises nothing

    def __reduce__(self):
        # A copy would hold the same open and close it when collected.
        raise TypeError(f"camera {self._id}: a handle cannot be copied or pickled; share the one handle "
                        "(its calls may come from any thread of this process)")

    def __repr__(self):
        return f"<quorvel.Camera {self._id}{'' if self._serial else ' (closed)'}>"

    # Parameters and the properties over them.

    def get_parameter(self, number):
        """The parameter's value."""
        return self._parameter(number)[0]

    def parameter_limits(self, number):
        """The parameter's (lowest, highest) values."""
        return self._parameter(number)[1]

    def _parameter(self, number):
        status, value, low, high = _core.get_parameter(self._id, self._serial, _checks.whole(number, "number"))
        self._check(status, "GetParameter")
        return value, (min(low, high), max(low, high))

    def set_parameter(self, number, value):
        """Sets the parameter, within its limits (0 sets width and height to their largest).

        A pixel format the camera cannot deliver is refused with its status.
        """
        number = _checks.whole(number, "number")
        value = _checks.whole(value, f"the value of parameter {number}")
        if not (value == 0 and number in (_WIDTH, _HEIGHT)):
            low, high = self.parameter_limits(number)
            if not low <= value <= high:
                raise ValueError(f"parameter {number} takes values from {low} to {high}; {value} is outside")
        if number == _PIXEL_FORMAT:
            refused = _core.check_pixel_format(self._id, self._serial, value)
            if refused in (3, 18):
                raise QuorvelError(refused, "CheckPixelFormat", self._id)
        self._check(_core.set_parameter(self._id, self._serial, number, value), "SetParameter")

    width = property(lambda self: self.get_parameter(_WIDTH), lambda self, v: self.set_parameter(_WIDTH, v),
                     doc="Parameter 15, pixels per line.")
    height = property(lambda self: self.get_parameter(_HEIGHT), lambda self, v: self.set_parameter(_HEIGHT, v),
                      doc="Parameter 16, lines per frame.")
    pixel_format = property(lambda self: self.get_parameter(_PIXEL_FORMAT),
                            lambda self, v: self.set_parameter(_PIXEL_FORMAT, v), doc="Parameter 2.")

    # Settings by name, from the table of the camera's type (quorvel-settings.tsv beside the package).

    def setting_names(self):
        """The names the settings table gives this camera's type, for set and get."""
        return [row["name"] for row in self._settings()[1]]

    def set(self, name, value):
        """Sets a setting by its name (any case), as set_parameter sets its number."""
        self.set_parameter(self._setting(name)["number"], value)

    def get(self, name):
        """A setting's value by its name (any case)."""
        return self.get_parameter(self._setting(name)["number"])

    def parameters(self, numbers=None):
        """The camera's parameters: dicts with name and unit ('' where the table names none), number, value
        and limits (lowest, highest). By default those of 0 to 63 and of the table that read back; a
        parameter the table names, or one asked for, that does not read raises QuorvelError."""
        named = {row["number"]: row for row in self._settings()[1]}
        if numbers is None:
            numbers, required = sorted(set(range(64)) | set(named)), set(named)
        else:
            numbers = _checks.numbers(numbers, "numbers", _checks.WORD, 2**32 - 1).tolist()
            required = set(numbers)
        listed = []
        for number in numbers:
            status, value, low, high = _core.get_parameter(self._id, self._serial, number)
            if status != 0:
                if number in required:
                    raise QuorvelError(status, "GetParameter", self._id)
                continue  # a number the camera does not have
            row = named.get(number, {"name": "", "unit": ""})
            listed.append({"name": row["name"], "number": number, "value": value,
                           "limits": (min(low, high), max(low, high)), "unit": row["unit"]})
        return listed

    def _settings(self):
        """The camera's type (information item 0) and the table's rows for it."""
        status, camera_type = _core.camera_info(self._id, self._serial, 0)
        check(status, "GetCameraInfo", self._id)
        return camera_type, _settings.settings_of(camera_type)

    def _setting(self, name):
        if not isinstance(name, str):
            raise TypeError(f"a setting's name is a text; got {type(name).__name__}")
        camera_type, rows = self._settings()
        # ASCII case only, as the MATLAB class matches: Python would lower the Kelvin sign to k.
        found = next((row for row in rows if name.isascii() and row["name"].lower() == name.lower()), None)
        if found is None:
            listed = ", ".join(row["name"] for row in rows) or "none (the settings table has no row for it)"
            raise ValueError(f"camera {self._id}: camera type {camera_type} has no setting named '{name}'; "
                             f"its settings are {listed}")
        return found

    # Live frames.

    def grab(self, argument=0):
        """One live frame: (H, W) mono, (H, W, 3) colour, in C order.

        >>> with Camera(1001) as cam:
        ...     cam.grab().dtype.name
        'uint8'
        """
        status, image = _core.grab(self._id, self._serial, _checks.whole(argument, "argument"))
        self._check(status, "SynchGrab")
        return image

    # Recording into camera memory.

    def start_recording(self, frames, trigger=0, segments=0, interval=0):
        """Starts recording `frames` frames, `trigger` of them before the trigger."""
        values = [_checks.whole(v, name) for v, name in
                  ((frames, "frames"), (trigger, "trigger"), (segments, "segments"), (interval, "interval"))]
        self._check(_core.start_recording(self._id, self._serial, *values), "MemoryStartGrab")
        self._expected_reports = math.ceil(values[0] / max(values[3], 1)) if values[0] else None

    def stop_recording(self):
        """Stops the recording."""
        self._check(_core.stop_recording(self._id, self._serial), "MemoryStopGrab")

    def wait(self, timeout=10.0, reports=None):
        """Waits for the recording's end (its reports), other Python threads running meanwhile.

        Raises TimeoutError when it does not end within `timeout` seconds (inf: no limit);
        a signal's handler (Ctrl-C) ends it at once.
        """
        if isinstance(timeout, (bool, np.bool_)) or not isinstance(timeout, numbers.Real):
            raise TypeError(f"timeout takes a number of seconds from 0 on; got {type(timeout).__name__}")
        if not timeout >= 0:
            raise ValueError(f"timeout takes a number of seconds from 0 on (inf: no limit); got {timeout!r}")
        if reports is None:
            reports = self._expected_reports
            if reports is None:
                raise ValueError(f"camera {self._id}: the end of the recording is unknown (this handle started none "
                                 "of a known frame count): pass reports")
        reports = _checks.whole(reports, "reports")
        reached, count, hold = _core.wait_for_reports(self._id, self._serial, reports, float(timeout))
        self._lost = self._lost or hold == _LOST
        if hold != _HELD:
            raise self._closed()
        if not reached:
            raise TimeoutError(f"camera {self._id}: the recording did not end within {timeout:g} seconds "
                               f"({count} of {reports} reports)")

    def trigger_position(self):
        """(trigger position, frames recorded)."""
        status, trigger, recorded = _core.trigger_position(self._id, self._serial)
        self._check(status, "MemoryReadTriggerPosition")
        return trigger, recorded

    # Reading recorded frames back.

    def read_frames(self, positions, out=None):
        """Recorded frames by position: (frames, info), frames (N, H, W) or (N, H, W, 3).

        out: a C-contiguous array of that shape and dtype to read into instead.
        """
        numbers = _checks.numbers(positions, "positions", _checks.POSITION, _core.bulk_read_limit)
        return self._read(numbers, False, _checks.out_array(out), "MemoryReadFrames")

    def read_segments(self, numbers, out=None):
        """Recorded segments by number, as read_frames."""
        numbers = _checks.numbers(numbers, "numbers", _checks.WORD, _core.bulk_read_limit)
        return self._read(numbers, True, _checks.out_array(out), "MemoryReadSegments")

    def _read(self, numbers, by_segment, out, command):
        status, read, frames, shape, dtype = _core.read_recorded(self._id, self._serial, numbers.tolist(),
                                                                 by_segment, out)
        if status is None:
            raise ValueError(f"out must have the shape {(len(numbers),) + tuple(shape)} and dtype {dtype}; "
                             f"it has {out.shape} and {out.dtype}")
        info = self._info(numbers[:read], by_segment, status)
        self._check(status, command, frames=None if frames is None else frames[:read], info=info)
        return frames, info

    def _info(self, numbers, by_segment, status):
        values = numbers.astype(np.float64)
        missing = np.full(len(numbers), np.nan)
        positions, segments = (missing, values) if by_segment else (values, missing)
        trigger_status, trigger, _ = _core.trigger_position(self._id, self._serial)
        trigger_index = positions - float(trigger) if trigger_status == 0 else np.full(len(numbers), np.nan)
        return {"position": positions, "segment": segments, "trigger_index": trigger_index,
                "status": np.array(status)}

    # Saving recorded frames to TIFF files.

    def save_frames(self, file, positions, overwrite=False):
        """Saves recorded frames into a multi-page TIFF file, as the class's saveFrames does; returns info.

        At least one position: a file of no page is refused with ValueError."""
        numbers = _checks.numbers(positions, "positions", _checks.POSITION, 2**32 - 1)
        return self._save(_checks.file_name(file), numbers, overwrite, False, "MemorySaveFrames")

    def save_segments(self, file, numbers, overwrite=False):
        """Saves recorded segments, as save_frames does."""
        numbers = _checks.numbers(numbers, "numbers", _checks.WORD, 2**32 - 1)
        return self._save(_checks.file_name(file), numbers, overwrite, True, "MemorySaveSegments")

    def _save(self, file, numbers, overwrite, by_segment, command):
        if not isinstance(overwrite, (bool, np.bool_)):
            raise TypeError(f"overwrite takes True or False; got {type(overwrite).__name__}")
        if len(numbers) == 0:
            raise ValueError(f"{'numbers' if by_segment else 'positions'} holds no number; a TIFF file holds a page "
                             "at least, and none is written")
        if not hasattr(_core, "save_recorded"):
            raise RuntimeError("this quorvel was built without libtiff: saving to TIFF files is left out")
        # Calls of about half a second each, every one leaving the file
        # closed and valid, so that Ctrl-C between them keeps every frame
        # saved so far; the first saves a few frames, its rate sizes the next.
        count, saved, status = len(numbers), 0, 0
        chunk, mode = min(count, 16), int(overwrite)  # 0 a new file, 1 replace; then 2 append
        while saved < count and status == 0:
            first, span = _consecutive_run(numbers, saved, chunk)
            started = time.perf_counter()
            status, got, failure, reason = _core.save_recorded(self._id, self._serial, file, first, span, mode,
                                                               count, by_segment)
            if failure:
                raise _save_failure(failure, file, reason, overwrite)
            chunk = max(1, int(got * _SECONDS_PER_SAVE_CALL / max(time.perf_counter() - started, 1e-9)))
            saved, mode = saved + got, 2
        info = self._info(numbers[:saved], by_segment, status)
        self._check(status, command, info=info)
        return info


def _consecutive_run(numbers, done, chunk):
    """The run of consecutive numbers (uint64) after the first done, at most chunk long; a step down
    wraps around to a huge step and so ends the run as any step other than 1 does."""
    steps = np.diff(numbers[done:done + chunk])
    broken = np.flatnonzero(steps != 1)
    return int(numbers[done]), int(broken[0]) + 1 if broken.size else len(steps) + 1


# What kept the file from taking every frame, numbered as the core's SaveFailure.
_FILE_EXISTS, _FILE_OPEN, _FILE_BUSY, _FILE_FORMAT = 1, 2, 3, 4


def _save_failure(failure, file, reason, overwrite):
    if failure == _FILE_EXISTS:
        return FileExistsError(f"The file '{file}' exists and is kept: pass overwrite=True to replace it.")
    if failure in (_FILE_OPEN, _FILE_BUSY):
        return OSError(f"Cannot write the file '{file}': {reason}.")
    if failure == _FILE_FORMAT:
        return OSError(f"Cannot add pages to the file '{file}': {reason}.")
    return OSError(f"Writing the file '{file}' failed: {reason}. It holds every page written before.")
