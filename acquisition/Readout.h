// Reading one recorded frame back from camera memory, by a 64-bit position
// or, on cameras that record in segments, by segment number through the
// camera's SegmentTable.
#ifndef QUORVEL_ACQUISITION_READOUT_H
#define QUORVEL_ACQUISITION_READOUT_H

#include "FrameReceiver.h"
#include "common/ResultCodes.h"

#include <cstddef>
#include <cstdint>

// No pixel format makes the driver write more per pixel on readout than
// three 16-bit samples.
constexpr size_t kMaxReadoutBytesPerPixel = 6;

// The most frames one bulk read gives back, in one array: a host refuses
// a larger count before it reads anything.
constexpr uint32_t kBulkReadFrameLimit = 65536;

// Item 24 value that turns segment addressing off on types 18 to 20.
constexpr uint32_t kAddressingByPosition = 4;

// Where a readout lands. The driver is given no size, so it writes into a
// staging buffer of frameBound bytes (the largest frame it may write at the
// frame size the handler read), whose first `bytes` bytes go to the
// receiver, zeros wherever the driver wrote nothing.
struct ReadoutDestination {
    FrameReceiver receiver;
    size_t bytes = 0;
    size_t frameBound = 0;
    // false when the handler could not read the frame size or the pixel
    // format its image is shaped by
    bool shapeKnown = false;
    // A block of frameBound bytes the driver writes into instead of the
    // module's staging buffer (the receiver is then given the frame in it).
    unsigned char* staging = nullptr;
};

// How the readout position is found: as the camera type says (segment
// table on types 18 to 20), or always from high:low.
enum class ReadoutAddressing { ByCameraType, ByPosition };

// kMaxReadoutBytesPerPixel x W x H, or 0 when that does not fit a size_t.
size_t readoutFrameBound(uint32_t width, uint32_t height);

// Reads the frame into the destination. Camera type 2 or a colour-less
// camera refuse layouts they cannot deliver (18, 3); parameters 11 and 16
// must read before the readout and 15 after it (7, the frame still
// delivered). Types 18 to 20 whose item 24 is not 4 take the position from
// SegmentTable entry `segment` (a number past the table answers 13 before
// the readout) and index 0; other cameras take high:low and `segment` as
// the index; ReadoutAddressing::ByPosition takes high:low on every type.
// A failed information read counts as type 0, or as position addressing.
// An unknown shape or frame bound answers 7 without a readout; an id no open camera
// carries answers 13 without a driver call; a staging buffer that cannot
// be had answers 13 without a readout. The receiver is given the frame
// whenever the driver was called. Answers 0, 3, 7, 9, 13 or 18.
ResultCode camReadMemory(int32_t cameraId, uint32_t positionLow, uint32_t positionHigh,
                         const ReadoutDestination& destination, uint32_t layoutCode, uint32_t segment,
                         ReadoutAddressing addressing = ReadoutAddressing::ByCameraType);

// How a bulk read numbers its frames: by recorded position, on every
// camera type, or by segment.
enum class BulkAddressing { ByPosition, BySegment };

// One frame of a bulk read, as camReadMemory reads it: position `number`
// (high:low) by position, or segment `number`, of which a number past 32
// bits answers 13 without a driver call.
ResultCode camReadRecorded(int32_t cameraId, uint64_t number, BulkAddressing addressing,
                           const ReadoutDestination& destination, uint32_t layoutCode);

#endif
