"""The simulated cameras' control: the verbs of QuorvelSim, with the same
names, arguments and answers (numbers, lists, dicts for MATLAB's structs).

>>> from quorvel import sim
>>> sim.reset()
>>> sim.force('drvReadMemory', 1)
>>> sim.camera(1001)['timeSource']
'gps'
>>> sim.reset()
>>> [name for name, usage, summary in sim.verbs()][:3]
['reset', 'defaults', 'addCamera']
"""
try:
    from . import _sim
except ImportError as missing:
    raise ImportError("quorvel.sim controls the simulated driver only, and the QuorvelDrv in use is another "
                      f"({missing})") from missing

_NAMES = [name for name, _, _ in _sim.verbs()]


def verbs():
    """(name, call form, what it does) of every verb."""
    return [(name, usage.replace("QuorvelSim('%s'" % name, "sim.%s(" % name).replace("(, ", "("), summary)
            for name, usage, summary in _sim.verbs()]


def _verb(name):
    def run(*arguments):
        return _sim.run(name, *arguments)
    run.__name__ = name
    run.__doc__ = next(f"{usage}: {summary}" for n, usage, summary in verbs() if n == name)
    return run


globals().update({name: _verb(name) for name in _NAMES})
__all__ = ["verbs"] + _NAMES
