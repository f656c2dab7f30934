#include "SimCamera.h"

SimCamera simMakeCamera(uint32_t cameraId, uint32_t cameraType, bool colour) {
    SimCamera camera;
    SimCameraConfig& config = camera.config;
    config.cameraId = cameraId;
    config.info = {
        {kSimInfoCameraType, cameraType},
        {kSimInfoModelAttribute, kSimDefaultModelAttribute},
        {kSimInfoColour, colour ? 1u : 0u},
        {kSimInfoAddressing, kSimDefaultAddressing},
    };
    config.parameters = {
        {kSimParamPixelFormat, colour ? kSimDefaultColourFormat : kSimDefaultMonoFormat},
        {kSimParamExtraFrames, kSimDefaultExtraFrames},
        {kSimParamExposure, kSimDefaultExposure},
        {kSimParamWidth, kSimDefaultWidth},
        {kSimParamHeight, kSimDefaultHeight},
        {kSimParamOpenSetting, kSimDefaultOpenSetting},
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
    cameras[0].config.timeSource = kSimColourTimeSource;
    cameras[1].config.timeSource = kSimMonoTimeSource;
    cameras[2].config.timeSource = kSimMemoryTimeSource;
    cameras[3].config.timeSource = kSimSegmentedTimeSource;
    return cameras;
}

uint32_t simParameterValue(const SimCamera& camera, uint32_t parameter) {
    auto found = camera.config.parameters.find(parameter);
    return found == camera.config.parameters.end() ? 0 : found->second.value;
}

uint32_t simCameraType(const SimCamera& camera) {
    auto found = camera.config.info.find(kSimInfoCameraType);
    return found == camera.config.info.end() ? 0 : found->second;
}
