"""QuorvelML's cameras from Python: numpy frames, the GIL released while the camera works.

>>> import quorvel
>>> quorvel.list_cameras()
[1001, 1002, 1003, 1004]
>>> with quorvel.Camera(1001) as cam:
...     cam.width, cam.height, cam.pixel_format = 320, 240, 0
...     cam.grab().shape
(240, 320)
"""
from ._camera import Camera, driver_info, list_cameras
from ._errors import QuorvelError, status_text

__all__ = ["Camera", "QuorvelError", "driver_info", "list_cameras", "sim", "status_text"]


def __getattr__(name):
    # quorvel.sim loads on first use: a real driver has no simulator to control.
    if name == "sim":
        import importlib
        return importlib.import_module(".sim", __name__)
    raise AttributeError(f"module 'quorvel' has no attribute '{name}'")
