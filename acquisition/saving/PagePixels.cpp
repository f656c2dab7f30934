#include "PagePixels.h"

#include "acquisition/FrameConvertKernels.h"

#include <algorithm>

#ifdef QUORVEL_X86
#include <immintrin.h>
#endif

namespace {

// Swaps samples 0 and 2 of every pixel of three samples, one at a time.
template <typename T>
void swapOuterChannels(T* samples, size_t pixels) {
    for (size_t p = 0; p < pixels; ++p, samples += 3) std::swap(samples[0], samples[2]);
}

#ifdef QUORVEL_X86
// Whole pixels of 16 bytes at a time: 5 pixels of 8-bit samples or 2 of
// 16-bit ones, the bytes behind them stored back as they were loaded, so
// the next step, which starts there, still reads them unswapped.
__attribute__((target("ssse3"))) size_t swapOuterChannelsSsse3(unsigned char* bytes, size_t pixels,
                                                                 size_t bytesPerSample) {
    const bool wide = bytesPerSample == 2;
    const size_t pixelsPerStep = wide ? 2 : 5;
    const size_t step = pixelsPerStep * 3 * bytesPerSample;
    const __m128i order = wide ? _mm_setr_epi8(4, 5, 2, 3, 0, 1, 10, 11, 8, 9, 6, 7, 12, 13, 14, 15)
                               : _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    size_t done = 0;
    for (; done + pixelsPerStep + 1 <= pixels; done += pixelsPerStep, bytes += step) {  // 16 bytes within the frame
        const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm_shuffle_epi8(loaded, order));
    }
    return done;
}
#endif

void swapOuterChannelsOfFrame(unsigned char* page, size_t pixels, size_t bytesPerSample) {
    size_t done = 0;
#ifdef QUORVEL_X86
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) done = swapOuterChannelsSsse3(page, pixels, bytesPerSample);
#endif
    page += done * 3 * bytesPerSample;
    if (bytesPerSample == 2)
        swapOuterChannels(reinterpret_cast<uint16_t*>(page), pixels - done);
    else
        swapOuterChannels(page, pixels - done);
}

}  // namespace

void orderPageSamples(const FrameShape& shape, unsigned char* samples, size_t bytes) {
    if (shape.samplesPerPixel == 3)
        swapOuterChannelsOfFrame(samples, bytes / (3 * shape.bytesPerSample), shape.bytesPerSample);
}
