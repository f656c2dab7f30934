// The frame faults of a camera (SimOverrides) as the frame-writing calls
// apply them.
#ifndef QUORVEL_SIMULATOR_SIMFRAMEFAULTS_H
#define QUORVEL_SIMULATOR_SIMFRAMEFAULTS_H

#include "SimCamera.h"

#include <cstddef>
#include <cstdint>

// How many of `bytes` frame bytes to write, and the result to answer
// afterwards (0: none).
struct SimFrameFault {
    size_t writable;
    uint32_t result;
};
// Consumes a partial-frame fault of the camera.
SimFrameFault simTakeFrameFault(SimCamera& camera, size_t bytes);

// Fills what a frame-writing call writes beyond the frame's own bytes.
void simWriteFrameExcess(unsigned char* destination, size_t bytes);

#endif
