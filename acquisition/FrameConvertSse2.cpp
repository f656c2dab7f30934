// The SSE2 kernels: 16 x 16 byte and 8 x 8 uint16 tiles transposed in
// registers, and non-temporal stores of whole lines.
#include "FrameConvertKernels.h"

#ifdef QUORVEL_X86
#include <immintrin.h>

namespace {

inline __m128i loadBlockRow(const void* p) { return _mm_load_si128(static_cast<const __m128i*>(p)); }

// 16 x 16 bytes: four perfect shuffles rotate the (row, column) bits into
// (column, row). The input stride is a constant, so addressing takes no
// registers.
inline void transposeTile8Sse2(const uint8_t* a, uint8_t* out, size_t os) {
    __m128i r[16], t[16];
    QUORVEL_UNROLL for (int i = 0; i < 16; ++i) r[i] = loadBlockRow(a + i * 64);
    QUORVEL_UNROLL for (int round = 0; round < 2; ++round) {
        QUORVEL_UNROLL for (int i = 0; i < 8; ++i) {
            t[2 * i] = _mm_unpacklo_epi8(r[i], r[i + 8]);
            t[2 * i + 1] = _mm_unpackhi_epi8(r[i], r[i + 8]);
        }
        QUORVEL_UNROLL for (int i = 0; i < 8; ++i) {
            r[2 * i] = _mm_unpacklo_epi8(t[i], t[i + 8]);
            r[2 * i + 1] = _mm_unpackhi_epi8(t[i], t[i + 8]);
        }
    }
    QUORVEL_UNROLL for (int j = 0; j < 16; ++j, out += os) _mm_storeu_si128(reinterpret_cast<__m128i*>(out), r[j]);
}

// 8 x 8 uint16: three perfect shuffles.
inline void transposeTile16Sse2(const uint16_t* a, uint16_t* out, size_t os) {
    __m128i r[8], t[8];
    QUORVEL_UNROLL for (int i = 0; i < 8; ++i) r[i] = loadBlockRow(a + i * 32);
    QUORVEL_UNROLL for (int i = 0; i < 4; ++i) {
        t[2 * i] = _mm_unpacklo_epi16(r[i], r[i + 4]);
        t[2 * i + 1] = _mm_unpackhi_epi16(r[i], r[i + 4]);
    }
    QUORVEL_UNROLL for (int i = 0; i < 4; ++i) {
        r[2 * i] = _mm_unpacklo_epi16(t[i], t[i + 4]);
        r[2 * i + 1] = _mm_unpackhi_epi16(t[i], t[i + 4]);
    }
    QUORVEL_UNROLL for (int i = 0; i < 4; ++i) {
        t[2 * i] = _mm_unpacklo_epi16(r[i], r[i + 4]);
        t[2 * i + 1] = _mm_unpackhi_epi16(r[i], r[i + 4]);
    }
    QUORVEL_UNROLL for (int j = 0; j < 8; ++j, out += os) _mm_storeu_si128(reinterpret_cast<__m128i*>(out), t[j]);
}

// Rows run innermost so that the tiles filling one output line follow
// each other and the line is complete before it can be evicted.
void transpose8Sse2(const uint8_t* block, uint8_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 64; j0 += 16)
        for (uint32_t i0 = 0; i0 < 64; i0 += 16) transposeTile8Sse2(block + i0 * 64 + j0, out + j0 * os + i0, os);
}

void transpose16Sse2(const uint16_t* block, uint16_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 32; j0 += 8)
        for (uint32_t i0 = 0; i0 < 32; i0 += 8) transposeTile16Sse2(block + i0 * 32 + j0, out + j0 * os + i0, os);
}

}  // namespace

void streamLinesSse2(const uint8_t* from, uint8_t* to, size_t strideBytes, uint32_t lines) {
    for (uint32_t j = 0; j < lines; ++j, from += 64, to += strideBytes)
        QUORVEL_UNROLL for (int part = 0; part < 64; part += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + part), loadBlockRow(from + part));
}

const ConvertKernels kSse2Kernels = {gatherRowsPortable,
                                     splitRows<deinterleavePortable<uint8_t>>,
                                     transposeThenGather<gatherRowsPortable, transpose8Sse2>,
                                     transposeThenSplit<splitRows<deinterleavePortable<uint8_t>>, transpose8Sse2>,
                                     transpose8Sse2,
                                     transpose16Sse2,
                                     deinterleavePortable<uint8_t>,
                                     deinterleavePortable<uint16_t>,
                                     streamLinesSse2};

#endif  // QUORVEL_X86
