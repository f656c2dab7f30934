// The file each camera's save is writing over several calls (the first
// makes the file, the later ones append), so that a later call finds out
// when another save changed the file between its calls: each call holds
// the file's lock only while it runs.
#ifndef QUORVEL_ACQUISITION_SAVING_SAVEDFILES_H
#define QUORVEL_ACQUISITION_SAVING_SAVEDFILES_H

#include <cstdint>
#include <string>

// Notes the file now under the name, as the camera's call that made it or
// added `pages` to it left it; once the save holds `plannedPages` it is
// forgotten.
void noteSavedFile(int32_t cameraId, const std::string& path, uint64_t pages, uint64_t plannedPages);

void forgetSavedFile(int32_t cameraId);

// False when the camera's save is writing a file under this name and the
// name now gives another file, or that file has changed since the save's
// last call; true otherwise.
bool savedFileUntouched(int32_t cameraId, const std::string& path);

#endif
