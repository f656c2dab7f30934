// The JSON object each page's ImageDescription holds: where the frame came
// from in camera memory, and on a file's first page what describes the
// whole file.
#ifndef QUORVEL_ACQUISITION_SAVING_PAGEDESCRIPTION_H
#define QUORVEL_ACQUISITION_SAVING_PAGEDESCRIPTION_H

#include <cstdint>
#include <optional>
#include <string>

struct PageOrigin {
    std::optional<uint64_t> position;  // none for a frame read by segment number
    std::optional<uint64_t> segment;   // none for a frame read by position
    std::optional<int64_t> triggerIndex;  // position less the trigger position; none without either
};

struct FileOrigin {
    int32_t cameraId = 0;
    uint32_t cameraType = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pixelFormat = 0;
    const char* moduleVersion = "";
    std::string savedAt;  // the host's UTC time of the save, ISO 8601
};

// {"position":12,"segment":null,"triggerIndex":-3}, and with `file` its
// fields after those.
std::string pageDescription(const PageOrigin& page, const FileOrigin* file);

// The host's time now, UTC, to the millisecond: 2026-01-31T13:05:09.123Z.
std::string utcTimeNow();

#endif
