// Image shapes and the conversion of a driver frame into a MATLAB image.
//
// The driver delivers a frame line after line, the samples of a colour
// pixel side by side (channels 0, 1, 2). MATLAB wants H rows by W columns in
// column-major order, colour as three planes, plane 0 holding channel 2.
// The frame reaches the conversion in a buffer of the camera operation;
// only the converted image becomes a MATLAB array (gateway/ImageOutput.h).
#ifndef QUORVEL_ACQUISITION_FRAMELAYOUT_H
#define QUORVEL_ACQUISITION_FRAMELAYOUT_H

#include "common/ResultCodes.h"

#include <cstddef>
#include <cstdint>

// Live capture and memory readout shape PixelFormat 7 differently.
enum class FrameFamily { Live, Readout };

// The type of an image's samples; the gateway gives it its MATLAB class.
enum class SampleType { UInt8, UInt16 };

// What a camera operation is asked to deliver; tested against the
// camera's abilities.
enum LayoutCode : uint32_t {
    LayoutMono8 = 0,
    LayoutMono16 = 1,
    LayoutThreeSamples = 2,
};

constexpr uint32_t kPixelFormatMono8 = 0;
constexpr uint32_t kPixelFormatMono16 = 1;
constexpr uint32_t kPixelFormatWide = 7;  // uint16 colour on readout, uint8 colour live

struct FrameShape {
    SampleType sampleType = SampleType::UInt8;
    uint32_t dimensionCount = 2;
    uint32_t dimensions[3] = {0, 0, 1};  // H, W, planes; see setSize
    LayoutCode layoutCode = LayoutMono8;
    uint32_t bytesPerSample = 1;
    uint32_t samplesPerPixel = 1;

    // Fills the dimension vector: rows H, columns W (and 3 planes).
    void setSize(uint32_t width, uint32_t height) {
        dimensions[0] = height;
        dimensions[1] = width;
    }
    // Bytes of one frame of this shape at W x H: what a destination holds.
    size_t frameBytes(uint32_t width, uint32_t height) const {
        return size_t(width) * height * samplesPerPixel * bytesPerSample;
    }
};

// The shape of an image of the pixel format; any 32-bit value has one.
// Dimensions are left at 0 x 0 until setSize.
FrameShape selectFrameShape(uint32_t pixelFormat, FrameFamily family);

// What a camera without colour (information item 12 is 0) answers for a
// layout: 18 when its type delivers 8-bit mono only and the layout is
// another, 3 when the layout has three samples per pixel, else 0.
ResultCode monoCameraLayoutCheck(uint32_t cameraType, uint32_t layoutCode);

// Output element (plane k, row r, column c) = k*N + c*H + r takes scratch
// element r*W + c (one sample per pixel) or (r*W + c)*3 + (2 - k) (three
// samples). Samples are copied as whole values of bytesPerSample bytes.
// The two areas must not overlap. Cache-blocked and vectorised; the
// tests hold it to a plain loop over every sample (tests/support/).
void convertFrame(const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch, void* output);

// convertFrame for the first `rows` rows of every output column only (at
// most H); the rest of the output is left as it was.
void convertLeadingRows(const FrameShape& shape, uint32_t width, uint32_t height, uint32_t rows, const void* scratch,
                        void* output);

#endif
