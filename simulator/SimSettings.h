// The settings record as the simulated driver fills and reads it (the
// layout beside kSimSettingsSignature in SimCamera.h).
#ifndef QUORVEL_SIMULATOR_SIMSETTINGS_H
#define QUORVEL_SIMULATOR_SIMSETTINGS_H

#include "SimCamera.h"

#include <cstdint>

// Fills a settings record for the camera, keeping word 0.
void simFillSettings(uint32_t* settings, const SimCamera& camera, bool extended);
// True when the record was filled for this camera by a settings load.
bool simSettingsMatch(const void* settings, const SimCamera& camera);
// Keeps a parameter's value in the record, where the record has a word for it.
void simStoreSetting(void* settings, uint32_t parameter, uint32_t value);

#endif
