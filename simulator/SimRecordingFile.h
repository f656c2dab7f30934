// The simulator's recording file, written by drvDownloadRawFrame and read
// back by drvReadFromDisk. Little-endian 32-bit words:
//
//   header:  kSimFileMagic, version 1, W, H, PixelFormat, frame bytes,
//            frame count, 0
//   then per frame: its frame number, then its frame bytes as the readout
//            renders them (SimFrames.h) at W x H and PixelFormat.
#ifndef QUORVEL_SIMULATOR_SIMRECORDINGFILE_H
#define QUORVEL_SIMULATOR_SIMRECORDINGFILE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr uint32_t kSimFileMagic = 0x31565251;  // "QRV1"
constexpr uint32_t kSimFileVersion = 1;

struct SimRecordingFile {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pixelFormat = 0;
    std::vector<uint32_t> frameNumbers;
};

// Writes the frames, rendered at the file's size and format; false when the
// file cannot be written.
bool simWriteRecordingFile(const std::string& path, const SimRecordingFile& file);
// The file's header and frame numbers; nullopt when it cannot be read or is
// not a recording file.
std::optional<SimRecordingFile> simReadRecordingFile(const std::string& path);

#endif
