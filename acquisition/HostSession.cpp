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
    const bool refused = drvUnload() != 0 && driverLoaded;
    if (refused) camCloseEveryCamera();
    // An unloaded driver has let go of every camera and joined its threads.
    // A module the host keeps mapped (pinned by an earlier refusal) loads
    // it again at its next call, with nothing counted for those cameras.
    else if (driverLoaded) resetAcquisitionState();
    driverLoaded = false;
    return refused;
}

void forgetLoadedDriver() { driverLoaded = false; }
