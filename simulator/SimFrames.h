// The simulated cameras' synthetic frames: a diagonal ramp that moves from
// frame to frame, so that every sample names its frame, line, pixel and
// channel and tests can compute what should arrive where.
//
// Sample values (frame k, line r, pixel c, channel ch):
//   8-bit samples:  (c + 3r + 8k + 85ch) mod 256
//   16-bit samples: (7c + 131r + 256k + 21845ch) mod 65536
// so the first sample of a frame holds 8k (8-bit) or 256k (16-bit).
//
// Bytes per pixel the simulator writes, by PixelFormat:
//   live grabs:  0, 5: 1 (one 8-bit sample)   1, 6: 2 (one 16-bit sample)
//                2: 3 (three 8-bit samples)   any other: 4 (three 8-bit
//                samples and a fourth, channel 3, by the same rule)
//   readout:     0: 1   1: 2   7: 6 (three 16-bit samples)   any other: 3
#ifndef QUORVEL_SIMULATOR_SIMFRAMES_H
#define QUORVEL_SIMULATOR_SIMFRAMES_H

#include <cstddef>
#include <cstdint>

enum class SimFrameKind { Live, Readout };

// No readout format writes more per pixel; a readout frame with its excess
// never runs past W x H times this, the buffer a caller sized for the
// widest format has.
constexpr size_t kSimWidestReadoutPixelBytes = 6;

struct SimFrameFormat {
    uint32_t channels = 1;        // samples per pixel
    uint32_t bytesPerSample = 1;  // 1 or 2
    uint32_t bytesPerPixel() const { return channels * bytesPerSample; }
};

SimFrameFormat simFrameFormat(uint32_t pixelFormat, SimFrameKind kind);

uint32_t simFrameSample(uint32_t pixelFormat, uint32_t frameNumber, uint32_t line, uint32_t pixel, uint32_t channel,
                        SimFrameKind kind = SimFrameKind::Live);

// Writes frame `frameNumber` of W x H pixels in driver order (line after
// line, the samples of a pixel side by side, 16-bit samples in native byte
// order), stopping after `capacity` bytes. Returns the bytes written.
size_t simRenderFrame(uint32_t pixelFormat, SimFrameKind kind, uint32_t frameNumber, uint32_t width, uint32_t height,
                      void* destination, size_t capacity);

#endif
