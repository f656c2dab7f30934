#include "HostSession.h"

#include "AcquisitionState.h"
#include "camera/CameraTable.h"
#include "camera/Connections.h"
#include "driver/QuorvelDrv.h"

namespace {
bool driverLoaded = false;
}

bool loadDriverOnce() {
    if (driverLoaded) return true;
    drvPreLoad(0, 1, 0);
    if (drvLoad(0) != 0) return false;
    ResetCameraTable();
    // Whoever releases a camera slot, the slot's recording context is
    // detached and its acquisition record zeroed with it.
    setSlotReleaseHook(releaseAcquisitionSlot);
    driverLoaded = true;
    return true;
}

bool driverIsLoaded() { return driverLoaded; }

bool unloadDriverAtExit() {
    if (drvUnload() == 0 || !driverLoaded) return false;
    camCloseEveryCamera();
    driverLoaded = false;
    return true;
}

void forgetLoadedDriver() { driverLoaded = false; }
