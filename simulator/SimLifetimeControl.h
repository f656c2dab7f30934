// Control of the simulator as a whole: back to its start, and whether the
// driver is loaded.
#ifndef QUORVEL_SIMULATOR_SIMLIFETIMECONTROL_H
#define QUORVEL_SIMULATOR_SIMLIFETIMECONTROL_H

// Back to the default cameras with no device open, an empty log of the
// default limit, nothing forced; whether the driver is loaded stays.
void simReset();

// True from drvLoad until drvUnload.
bool simDriverLoaded();

#endif
