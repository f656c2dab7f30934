// The simulator's cameras: the default set and the usual items and
// parameters of a simulated camera.
#include "SimState.h"

SimCamera simMakeCamera(uint32_t cameraId, uint32_t cameraType, bool colour) {
    SimCamera camera;
    camera.cameraId = cameraId;
    camera.info = {
        {kSimInfoCameraType, cameraType},
        {kSimInfoModelAttribute, 1},
        {kSimInfoColour, colour ? 1u : 0u},
        {kSimInfoAddressing, 0},
    };
    camera.parameters = {
        {kSimParamPixelFormat, {colour ? 2u : 0u, 0, 8}},
        {kSimParamExtraFrames, {0, 0, 7}},
        {kSimParamExposure, {1000, 1, 1000000}},
        {kSimParamWidth, {640, 16, 4096}},
        {kSimParamHeight, {480, 1, 4096}},
        {kSimParamOpenSetting, {0, 0, 10000}},
    };
    return camera;
}

std::vector<SimCamera> simDefaultCameras() {
    std::vector<SimCamera> cameras = {
        simMakeCamera(kSimColourCameraId, kSimColourCameraType, true),
        simMakeCamera(kSimMonoCameraId, kSimMonoCameraType, false),
        simMakeCamera(kSimMemoryCameraId, kSimMemoryCameraType, true),
        simMakeCamera(kSimSegmentedCameraId, kSimSegmentedCameraType, false),
    };
    cameras[0].timeSource = kSimColourTimeSource;
    cameras[1].timeSource = kSimMonoTimeSource;
    cameras[2].timeSource = kSimMemoryTimeSource;
    cameras[3].timeSource = kSimSegmentedTimeSource;
    return cameras;
}
