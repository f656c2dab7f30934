#include "ChannelOrder.h"

#include "FrameConvertKernels.h"

#include <algorithm>
#include <cstdint>

#ifdef QUORVEL_X86
#include <immintrin.h>
#endif

namespace {

// Swaps samples 0 and 2 of every pixel of three samples, one at a time,
// at any address.
void swapOuterChannels(unsigned char* bytes, size_t pixels, size_t bytesPerSample) {
    for (size_t p = 0; p < pixels; ++p, bytes += 3 * bytesPerSample)
        std::swap_ranges(bytes, bytes + bytesPerSample, bytes + 2 * bytesPerSample);
}

#ifdef QUORVEL_X86
// Where byte `out` of a run of whole pixels comes from once each pixel's
// outer samples have swapped places.
size_t swappedFrom(size_t out, size_t bytesPerSample) {
    const size_t within = out % (3 * bytesPerSample);
    const size_t sample = within / bytesPerSample, byte = within % bytesPerSample;
    return out - within + (2 - sample) * bytesPerSample + byte;
}

// A swap's table for samples of one or two bytes, made once.
template <typename Table>
const Table& tableFor(size_t bytesPerSample) {
    static const Table narrow(1), wide(2);
    return bytesPerSample == 2 ? wide : narrow;
}

// The 48 bytes of 16 pixels of 8-bit samples or 8 of 16-bit ones, swapped
// as three vectors: output vector o gathers from input vector i with
// kShuffles[o][i] (0x80 where a byte comes from another vector). Whole
// blocks, so no step reads bytes an earlier step stored.
struct BlockShuffles {
    unsigned char masks[3][3][16];

    explicit BlockShuffles(size_t bytesPerSample) {
        for (size_t out = 0; out < 48; ++out) {
            const size_t from = swappedFrom(out, bytesPerSample);
            for (size_t in = 0; in < 3; ++in)
                masks[out / 16][in][out % 16] = from / 16 == in ? static_cast<unsigned char>(from % 16) : 0x80;
        }
    }
};

__attribute__((target("ssse3"))) size_t swapOuterChannelsSsse3(unsigned char* bytes, size_t pixels,
                                                                 size_t bytesPerSample) {
    const auto& shuffles = tableFor<BlockShuffles>(bytesPerSample);
    __m128i masks[3][3];
    for (int out = 0; out < 3; ++out)
        for (int in = 0; in < 3; ++in)
            masks[out][in] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shuffles.masks[out][in]));
    const size_t pixelsPerBlock = 48 / (3 * bytesPerSample);
    size_t done = 0;
    for (; done + pixelsPerBlock <= pixels; done += pixelsPerBlock, bytes += 48) {
        __m128i in[3];
        for (int k = 0; k < 3; ++k) in[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * k));
        for (int out = 0; out < 3; ++out) {
            const __m128i swapped = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(in[0], masks[out][0]),
                                                              _mm_shuffle_epi8(in[1], masks[out][1])),
                                                 _mm_shuffle_epi8(in[2], masks[out][2]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + 16 * out), swapped);
        }
    }
    return done;
}

// Two blocks at a time, one in each 128-bit lane, with the same shuffles.
__attribute__((target("avx2"))) size_t swapOuterChannelsAvx2(unsigned char* bytes, size_t pixels,
                                                               size_t bytesPerSample) {
    const auto& shuffles = tableFor<BlockShuffles>(bytesPerSample);
    __m256i masks[3][3];
    for (int out = 0; out < 3; ++out)
        for (int in = 0; in < 3; ++in)
            masks[out][in] =
                _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(shuffles.masks[out][in])));
    const size_t pixelsPerTwoBlocks = 96 / (3 * bytesPerSample);
    size_t done = 0;
    for (; done + pixelsPerTwoBlocks <= pixels; done += pixelsPerTwoBlocks, bytes += 96) {
        __m256i in[3];
        for (int k = 0; k < 3; ++k)
            in[k] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(bytes + 48 + 16 * k),
                                        reinterpret_cast<const __m128i*>(bytes + 16 * k));
        for (int out = 0; out < 3; ++out) {
            const __m256i swapped =
                _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(in[0], masks[out][0]),
                                                _mm256_shuffle_epi8(in[1], masks[out][1])),
                                _mm256_shuffle_epi8(in[2], masks[out][2]));
            _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(bytes + 48 + 16 * out),
                                 reinterpret_cast<__m128i*>(bytes + 16 * out), swapped);
        }
    }
    return done;
}

// 192 bytes at a time, 64 pixels of 8-bit samples or 32 of 16-bit ones,
// as three vectors A, B, C: each output vector is one two-vector byte
// permute (of A and B, or of B and C), and the middle one takes the byte
// or two it needs from C with a second, masked permute. Whole blocks
// loaded before any is stored, so no store meets a load of the same bytes.
struct WidePermutes {
    alignas(64) unsigned char pair[3][64];  // from A:B for outputs 0 and 1, from B:C for output 2
    alignas(64) unsigned char fromC[64];    // output 1's bytes from C
    uint64_t fromCMask = 0;

    explicit WidePermutes(size_t bytesPerSample) {
        for (size_t out = 0; out < 192; ++out) {
            const size_t from = swappedFrom(out, bytesPerSample);
            const size_t vector = out / 64, lane = out % 64;
            const size_t pairBase = vector == 2 ? 64 : 0;
            if (from >= pairBase + 128) {
                fromC[lane] = static_cast<unsigned char>(from - 128);
                fromCMask |= uint64_t(1) << lane;
            } else {
                pair[vector][lane] = static_cast<unsigned char>(from - pairBase);
            }
        }
    }
};

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) size_t swapOuterChannelsAvx512(unsigned char* bytes,
                                                                                          size_t pixels,
                                                                                          size_t bytesPerSample) {
    const auto& permutes = tableFor<WidePermutes>(bytesPerSample);
    __m512i pair[3];
    for (int out = 0; out < 3; ++out) pair[out] = _mm512_load_si512(permutes.pair[out]);
    const __m512i fromC = _mm512_load_si512(permutes.fromC);
    const __mmask64 fromCMask = permutes.fromCMask;
    const size_t pixelsPerBlock = 192 / (3 * bytesPerSample);
    size_t done = 0;
    for (; done + pixelsPerBlock <= pixels; done += pixelsPerBlock, bytes += 192) {
        const __m512i a = _mm512_loadu_si512(bytes);
        const __m512i b = _mm512_loadu_si512(bytes + 64);
        const __m512i c = _mm512_loadu_si512(bytes + 128);
        const __m512i middle = _mm512_permutex2var_epi8(a, pair[1], b);
        _mm512_storeu_si512(bytes, _mm512_permutex2var_epi8(a, pair[0], b));
        _mm512_storeu_si512(bytes + 64, _mm512_mask_permutexvar_epi8(middle, fromCMask, fromC, c));
        _mm512_storeu_si512(bytes + 128, _mm512_permutex2var_epi8(b, pair[2], c));
    }
    return done;
}
#endif

}  // namespace

void reverseColourChannels(unsigned char* samples, size_t pixels, size_t bytesPerSample) {
    size_t done = 0;
#ifdef QUORVEL_X86
    static const bool avx512 = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (avx512) done = swapOuterChannelsAvx512(samples, pixels, bytesPerSample);
    if (avx2) done += swapOuterChannelsAvx2(samples + done * 3 * bytesPerSample, pixels - done, bytesPerSample);
    if (ssse3) done += swapOuterChannelsSsse3(samples + done * 3 * bytesPerSample, pixels - done, bytesPerSample);
#endif
    swapOuterChannels(samples + done * 3 * bytesPerSample, pixels - done, bytesPerSample);
}

void putInPlaneOrder(const FrameShape& shape, unsigned char* samples, size_t bytes) {
    if (shape.samplesPerPixel == 3) reverseColourChannels(samples, bytes / (3 * shape.bytesPerSample), shape.bytesPerSample);
}
