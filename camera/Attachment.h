// Whether the driver still has a camera the module holds: a camera
// unplugged or switched off, or a driver reset under the module, leaves
// the module a slot whose handle the driver no longer knows.
#ifndef QUORVEL_CAMERA_ATTACHMENT_H
#define QUORVEL_CAMERA_ATTACHMENT_H

#include <cstdint>

// Asks the driver's enumeration whether the camera held under cameraId is
// still open in it. One that the enumeration, answering for every camera,
// shows nowhere in use is let go: its slot is freed without a driver call,
// since the handle is the driver's no more (a new open may have it), and
// the id can be opened again. Where the driver cannot say (its enumeration
// fails, or fills all 256 records and may have been cut short, or the raw
// camera, which it does not list), the camera counts as attached. Answers
// whether the module still holds it: false also for an id it held no
// camera under.
bool camCheckAttached(int32_t cameraId);

#endif
