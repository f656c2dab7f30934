#include "SimDevice.h"

SimWorkers SimDevice::stopThreads() {
    SimWorkers workers;
    for (std::shared_ptr<SimWorker>* worker : {&recording.recorder, &diskRead.reader}) {
        if (*worker == nullptr) continue;
        (*worker)->requestStop();
        workers.push_back(std::move(*worker));
    }
    recording.active = false;
    diskRead.active = false;
    return workers;
}
