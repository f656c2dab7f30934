"""Argument checks, made before anything reaches the driver: a wrong kind
raises TypeError, a value outside its range ValueError, each naming the
argument and what it takes."""
import operator
import os

import numpy as np

WORD = 2**32 - 1
POSITION = 2**64 - 1


def whole(value, name, top=WORD):
    """The whole number from 0 to top that value is (bool is no number)."""
    if isinstance(value, (bool, np.bool_)) or not hasattr(type(value), "__index__"):
        raise TypeError(f"{name} takes a whole number from 0 to {top}; got {type(value).__name__}")
    number = operator.index(value)
    if not 0 <= number <= top:
        raise ValueError(f"{name} takes a whole number from 0 to {top}; {number} is outside")
    return number


def numbers(values, name, top, limit):
    """The frame or segment numbers as a uint64 array: a range, a sequence or
    a 1-D integer array of whole numbers from 0 to top, at most limit of them."""
    if isinstance(values, (str, bytes)) or not hasattr(values, "__len__"):
        raise TypeError(f"{name} takes a range or sequence of whole numbers; got {type(values).__name__}")
    if isinstance(values, np.ndarray) and (values.ndim != 1 or (values.size and values.dtype.kind not in "iu")):
        raise TypeError(f"{name} takes a 1-D array of integers; got {values.dtype} of {values.ndim} dimensions")
    # Counted before anything is made of them: a range may hold more than memory does.
    count = _range_length(values) if isinstance(values, range) else len(values)
    if count > limit:
        raise ValueError(f"{name} holds at most {limit} numbers; {count} given")
    if isinstance(values, range):
        if count == 0:
            return np.zeros(0, dtype=np.uint64)
        for end in (values.start, values.start + (count - 1) * values.step):  # it lies between its ends
            whole(end, f"each of {name}", top)
        offsets = np.arange(count, dtype=np.uint64) * np.uint64(abs(values.step) if count > 1 else 0)
        return np.uint64(values.start) + offsets if values.step > 0 else np.uint64(values.start) - offsets
    checked = values.tolist() if isinstance(values, np.ndarray) else list(values)
    for number in checked:
        whole(number, f"each of {name}", top)
    return np.array(checked, dtype=np.uint64)


def _range_length(values):
    """len() of a range, which past 2**63 - 1 len() cannot give."""
    step = values.step
    span = values.stop - values.start if step > 0 else values.start - values.stop
    return max(0, (span + abs(step) - 1) // abs(step))


def file_name(value, name="file"):
    """A file name: a non-empty text of any length the system takes, no zero character."""
    if not isinstance(value, (str, os.PathLike)):
        raise TypeError(f"{name} takes a file name (str or path); got {type(value).__name__}")
    text = os.fspath(value)
    if not isinstance(text, str):
        raise TypeError(f"{name} takes a file name as text; got {type(text).__name__}")
    if not text or "\0" in text:
        raise ValueError(f"{name} takes a non-empty name with no zero character")
    return text


def out_array(out, name="out"):
    """A caller's array the frames may be written into."""
    if out is None:
        return None
    if not isinstance(out, np.ndarray):
        raise TypeError(f"{name} takes a numpy array; got {type(out).__name__}")
    if not out.flags.c_contiguous or not out.flags.writeable:
        raise ValueError(f"{name} must be a writeable C-contiguous array")
    return out
