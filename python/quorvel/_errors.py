"""The one exception of a camera or driver failure, and the status texts."""
from . import _core

_STATUS = _core.status_table()


def status_text(status):
    """The meaning of a status number, as quorvelStatusText gives it.

    >>> status_text(13)
    'reading recorded frames from camera memory or disk failed'
    >>> status_text(99)
    'unknown status 99'
    """
    row = _STATUS.get(int(status))
    return row[1] if row else f"unknown status {int(status)}"


class QuorvelError(Exception):
    """A camera or driver failure: .status (the module's status number), .command, .camera_id.

    Its message is the status number's text. A bulk read or save that stopped
    part way keeps what it got: .frames (the frames read, or None) and .info.

    >>> err = QuorvelError(13, "MemoryReadFrames", 1001)
    >>> str(err), err.status, err.command, err.camera_id
    ('reading recorded frames from camera memory or disk failed', 13, 'MemoryReadFrames', 1001)
    """

    def __init__(self, status, command, camera_id, frames=None, info=None):
        super().__init__(status_text(status))
        self.status = int(status)
        self.command = command
        self.camera_id = camera_id
        self.frames = frames
        self.info = info

    def __reduce__(self):
        # Made again from its fields, as a process pool sends it back to the caller.
        return type(self), (self.status, self.command, self.camera_id, self.frames, self.info)


def check(status, command, camera_id):
    """Raises QuorvelError unless the status is 0."""
    if status != 0:
        raise QuorvelError(status, command, camera_id)
