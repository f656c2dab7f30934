// Control of the simulated cameras: which there are, their configuration,
// their time source, and what the enumeration reports.
#ifndef QUORVEL_SIMULATOR_SIMCAMERACONTROL_H
#define QUORVEL_SIMULATOR_SIMCAMERACONTROL_H

#include "SimCamera.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

void simAddCamera(const SimCamera& camera);
bool simRemoveCamera(uint32_t cameraId);
// Applies change to the camera under the simulator's lock; false if absent.
bool simConfigureCamera(uint32_t cameraId, const std::function<void(SimCamera&)>& change);
std::optional<SimCamera> simCamera(uint32_t cameraId);
std::vector<uint32_t> simCameraIds();

// The count drvEnumCameras reports, whatever it fills; nullopt: the truth.
void simSetReportedEnumCount(std::optional<uint32_t> count);

// Sets the camera's time source; `fixed` is what Fixed reports. False when
// no camera has the id.
bool simSetTimeSource(uint32_t cameraId, SimTimeSource source, const TimingRecord& fixed = {});

#endif
