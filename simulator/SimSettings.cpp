#include "SimSettings.h"

#include <algorithm>

void simFillSettings(uint32_t* settings, const SimCamera& camera, bool extended) {
    settings[1] = camera.config.cameraId;
    settings[2] = kSimSettingsSignature;
    settings[3] = extended ? 1 : 0;
    std::fill(settings + kSimSettingsParameterWords, settings + kSettingsBlockBytes / 4, 0u);
    for (const auto& [number, parameter] : camera.config.parameters)
        simStoreSetting(settings, number, parameter.value);
}

bool simSettingsMatch(const void* settings, const SimCamera& camera) {
    if (settings == nullptr) return false;
    auto* words = static_cast<const uint32_t*>(settings);
    return words[0] == kSettingsBlockBytes && words[1] == camera.config.cameraId && words[2] == kSimSettingsSignature;
}

void simStoreSetting(void* settings, uint32_t parameter, uint32_t value) {
    constexpr uint32_t kParameterSlots = kSettingsBlockBytes / 4 - kSimSettingsParameterWords;
    if (parameter < kParameterSlots) static_cast<uint32_t*>(settings)[kSimSettingsParameterWords + parameter] = value;
}
