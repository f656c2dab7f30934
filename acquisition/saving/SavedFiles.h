// The file each camera's latest save made or replaced, so that a save
// spanning several calls (the first makes the file, the later ones append)
// finds out when another save replaced the file between its calls: each
// call holds the file's lock only while it runs.
#ifndef QUORVEL_ACQUISITION_SAVING_SAVEDFILES_H
#define QUORVEL_ACQUISITION_SAVING_SAVEDFILES_H

#include <cstdint>
#include <string>

// Notes the file now under the name as the one the camera's save made.
void noteSavedFile(int32_t cameraId, const std::string& path);

void forgetSavedFile(int32_t cameraId);

// False when the camera's latest save made a file under this name and the
// name now gives another file; true otherwise.
bool savedFileStillNamed(int32_t cameraId, const std::string& path);

#endif
