#include "CameraState.h"

#include "CameraTable.h"

namespace {
CameraState state;
}

CameraState& cameraState() { return state; }

void resetCameraState() {
    state = CameraState{};
    clearCameraTable();
}
