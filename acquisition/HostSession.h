// What every host (the MEX gateway, the Python package) does around its
// camera calls: the driver loaded on the first call, with a fresh camera
// table, and given back when the host leaves.
#ifndef QUORVEL_ACQUISITION_HOSTSESSION_H
#define QUORVEL_ACQUISITION_HOSTSESSION_H

// Loads the driver unless it is loaded: drvPreLoad(0, 1, 0), drvLoad(0),
// then the camera table reset and the slot-release hook wired before any
// slot can be claimed. False when the driver does not load; the next call
// tries again.
bool loadDriverOnce();

bool driverIsLoaded();

// Unloads the driver as a leaving host does; open cameras are the driver's
// to end, and the next call loads it again. A driver that refuses to unload keeps its threads, which may call
// back into the module: its cameras are then closed, which ends their
// recordings and disk reads, the session starts afresh at its next call,
// and true is answered, since the host's code must then stay mapped.
bool unloadDriverAtExit();

// Forgets the loaded driver, for a reset that puts every layer back.
void forgetLoadedDriver();

#endif
