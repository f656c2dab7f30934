#include "SimFrameFaults.h"

#include <algorithm>

SimFrameFault simTakeFrameFault(SimCamera& camera, size_t bytes) {
    SimOverrides& overrides = camera.overrides;
    if (!overrides.partialFrameBytes) return {bytes, 0};
    SimFrameFault fault{std::min<size_t>(bytes, *overrides.partialFrameBytes), overrides.partialFrameResult};
    overrides.partialFrameBytes.reset();
    return fault;
}

void simWriteFrameExcess(unsigned char* destination, size_t bytes) {
    std::fill(destination, destination + bytes, kSimFrameExcessByte);
}
