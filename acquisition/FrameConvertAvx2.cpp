// The AVX2 kernels, each compiled for AVX2 by its own target attribute so
// that the rest of the module runs on any x86 processor: two tiles
// transposed at once in 256-bit registers, 8-bit blocks gathered into a
// layout that loads straight into them, and colour split by pshufb.
#include "FrameConvertKernels.h"

#ifdef QUORVEL_X86
#include <immintrin.h>

namespace {

// pshufb masks that pick channel ch of the pixels in 48 bytes held in three
// registers a, b, c: [ch][register][output byte].
struct ShuffleMasks {
    uint8_t bytes[3][3][16];
};

constexpr ShuffleMasks makeShuffleMasks(uint32_t sampleBytes) {
    ShuffleMasks masks{};
    for (uint32_t ch = 0; ch < 3; ++ch) {
        for (uint32_t out = 0; out < 16; ++out) {
            const uint32_t pixel = out / sampleBytes, byte = out % sampleBytes;
            const uint32_t source = (3 * pixel + ch) * sampleBytes + byte;
            for (uint32_t reg = 0; reg < 3; ++reg)
                masks.bytes[ch][reg][out] = source / 16 == reg ? uint8_t(source % 16) : uint8_t(0x80);
        }
    }
    return masks;
}

alignas(16) constexpr ShuffleMasks kMasks8 = makeShuffleMasks(1);
alignas(16) constexpr ShuffleMasks kMasks16 = makeShuffleMasks(2);

__attribute__((target("avx2"))) inline __m256i loadTwoRows(const void* low, const void* high) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(static_cast<const __m128i*>(high)), 1);
}

// Two 16 x 16 byte tiles at once, rows i and i + 16 sharing a register, so
// each output row takes 32 contiguous bytes.
__attribute__((target("avx2"))) inline void transposeTile8Avx2(const uint8_t* a, uint8_t* out, size_t os) {
    __m256i r[16], t[16];
    QUORVEL_UNROLL for (int i = 0; i < 16; ++i) r[i] = loadTwoRows(a + i * 64, a + (i + 16) * 64);
    QUORVEL_UNROLL for (int round = 0; round < 2; ++round) {
        QUORVEL_UNROLL for (int i = 0; i < 8; ++i) {
            t[2 * i] = _mm256_unpacklo_epi8(r[i], r[i + 8]);
            t[2 * i + 1] = _mm256_unpackhi_epi8(r[i], r[i + 8]);
        }
        QUORVEL_UNROLL for (int i = 0; i < 8; ++i) {
            r[2 * i] = _mm256_unpacklo_epi8(t[i], t[i + 8]);
            r[2 * i + 1] = _mm256_unpackhi_epi8(t[i], t[i + 8]);
        }
    }
    QUORVEL_UNROLL for (int j = 0; j < 16; ++j, out += os)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), r[j]);
}

// 32 rows x 8 uint16 into eight whole output lines, each written by two
// stores in a row: a line written piecemeal, with other lines of the same
// few cache sets in between, is evicted between its pieces when rows are a
// power of two apart. Register 8h + i holds rows 16h + i (low lane) and
// 16h + i + 8 (high lane); each step of the network writes its results back
// into its operands' slots, so only 16 registers are live.
__attribute__((target("avx2"))) inline void transposeLines16Avx2(const uint16_t* a, uint16_t* out, size_t os) {
    __m256i r[16];
    QUORVEL_UNROLL for (int h = 0; h < 2; ++h)
        QUORVEL_UNROLL for (int i = 0; i < 8; ++i)
            r[8 * h + i] = loadTwoRows(a + (16 * h + i) * 32, a + (16 * h + i + 8) * 32);
    QUORVEL_UNROLL for (int m = 4; m > 0; m /= 2) {
        QUORVEL_UNROLL for (int s = 0; s < 16; ++s) {
            if (s & m) continue;
            const __m256i low = _mm256_unpacklo_epi16(r[s], r[s + m]);
            r[s + m] = _mm256_unpackhi_epi16(r[s], r[s + m]);
            r[s] = low;
        }
    }
    QUORVEL_UNROLL for (int j = 0; j < 8; ++j, out += os) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), r[j]);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16), r[8 + j]);
    }
}

__attribute__((target("avx2"))) void transpose8Avx2(const uint8_t* block, uint8_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 64; j0 += 16)
        for (uint32_t i0 = 0; i0 < 64; i0 += 32) transposeTile8Avx2(block + i0 * 64 + j0, out + j0 * os + i0, os);
}

__attribute__((target("avx2"))) void transpose16Avx2(const uint16_t* block, uint16_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 32; j0 += 8) transposeLines16Avx2(block + j0, out + j0 * os, os);
}

// The AVX2 block layout: for each 16-column group g and each half h of 32
// rows, one 512-byte tile of 16 aligned 32-byte units, unit i holding
// columns 16g..16g+15 of row 32h + i (low lane) and of row 32h + i + 16
// (high lane). A tile then loads straight into the registers of the
// two-tiles-at-once transpose.
constexpr size_t pairedOffset(uint32_t row, uint32_t group) {
    return (group * 2 + (row >> 5)) * 512 + (row & 15) * 32 + ((row >> 4) & 1) * 16;
}

// Rows row0 .. row0 + 7 of a block; row0 is a multiple of 8.
__attribute__((target("avx2"))) inline void gatherPairedRowsAvx2(const uint8_t* first, size_t stride, uint32_t row0,
                                                                 uint8_t* block) {
    first += row0 * stride;
    uint8_t* unit = block + pairedOffset(row0, 0);
    QUORVEL_UNROLL for (uint32_t i = 0; i < 8; ++i, first += stride, unit += 32)
        QUORVEL_UNROLL for (uint32_t g = 0; g < 4; ++g)
            _mm_store_si128(reinterpret_cast<__m128i*>(unit + g * 1024),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + 16 * g)));
}

__attribute__((target("avx2"))) void gatherPairedAvx2(const uint8_t* first, size_t stride, uint8_t* block) {
    for (uint32_t row0 = 0; row0 < 64; row0 += 8) gatherPairedRowsAvx2(first, stride, row0, block);
}

// Where a paired tile's 16 output runs of 32 bytes go: straight into the
// output, into `held` (the upper rows of a column group), or, with the
// held runs before them, into the output as whole lines.
enum class TileStores { Direct, Hold, WithHeld };

// Two 16 x 16 byte tiles in the paired layout: 16 output columns, 32 rows
// of each. Each step of the network writes its two results back into the
// slots of its operands, so only 16 registers are live; the rows come out
// in order. Kept out of line: the block loops stay small, which measured
// faster than the tile inlined into each of them.
template <TileStores kStores>
__attribute__((target("avx2"), noinline)) void transposePairedTile8Avx2(const uint8_t* a, uint8_t* out, size_t os,
                                                                        uint8_t* held) {
    __m256i r[16];
    QUORVEL_UNROLL for (int i = 0; i < 16; ++i) r[i] = _mm256_load_si256(reinterpret_cast<const __m256i*>(a + i * 32));
    QUORVEL_UNROLL for (int m = 8; m > 0; m /= 2) {
        QUORVEL_UNROLL for (int s = 0; s < 16; ++s) {
            if (s & m) continue;
            const __m256i low = _mm256_unpacklo_epi8(r[s], r[s + m]);
            r[s + m] = _mm256_unpackhi_epi8(r[s], r[s + m]);
            r[s] = low;
        }
    }
    QUORVEL_UNROLL for (int j = 0; j < 16; ++j, out += os) {
        if constexpr (kStores == TileStores::Hold) {
            _mm256_store_si256(reinterpret_cast<__m256i*>(held + 32 * j), r[j]);
        } else if constexpr (kStores == TileStores::WithHeld) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                                _mm256_load_si256(reinterpret_cast<const __m256i*>(held + 32 * j)));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), r[j]);
        } else {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), r[j]);
        }
    }
}

// The eight tiles of a block in the paired layout, tile t (column group
// t / 2, upper rows when t is even) after beforeTile(t). With columns far
// apart, an upper tile's runs are held until the lower tile completes
// their lines.
template <typename BeforeTile>
__attribute__((target("avx2"))) inline void transposePairedBlock8Avx2(const uint8_t* block, uint8_t* out, size_t os,
                                                                      BeforeTile beforeTile) {
    if (os < kWholeLineColumnBytes) {
        for (uint32_t t = 0; t < 8; ++t) {
            beforeTile(t);
            uint8_t* runs = out + size_t(16 * (t / 2)) * os + 32 * (t % 2);
            transposePairedTile8Avx2<TileStores::Direct>(block + t * 512, runs, os, nullptr);
        }
        return;
    }
    alignas(32) uint8_t held[512];
    for (uint32_t t = 0; t < 8; t += 2) {
        beforeTile(t);
        transposePairedTile8Avx2<TileStores::Hold>(block + t * 512, nullptr, os, held);
        beforeTile(t + 1);
        transposePairedTile8Avx2<TileStores::WithHeld>(block + (t + 1) * 512, out + size_t(8 * t) * os, os, held);
    }
}

// 64 bytes of each plane per row: 48-byte groups of
// pixels, two per pass, one in each 128-bit lane. The masks stay in
// registers for the whole block.
__attribute__((target("avx2"))) void deinterleaveBytesAvx2(const uint8_t* first, size_t stride, uint32_t rows,
                                                          const ShuffleMasks& masks, uint8_t* planes[3]) {
    __m256i m[3][3];
    QUORVEL_UNROLL for (int ch = 0; ch < 3; ++ch)
        QUORVEL_UNROLL for (int reg = 0; reg < 3; ++reg)
            m[ch][reg] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(masks.bytes[ch][reg])));
    for (size_t row = 0; row < rows * 64; row += 64, first += stride) {
        QUORVEL_UNROLL for (uint32_t done = 0; done < 64; done += 32) {
            const uint8_t* in = first + 3 * done;
            const __m256i a = loadTwoRows(in, in + 48);
            const __m256i b = loadTwoRows(in + 16, in + 64);
            const __m256i c = loadTwoRows(in + 32, in + 80);
            QUORVEL_UNROLL for (int ch = 0; ch < 3; ++ch) {
                const __m256i plane = _mm256_or_si256(
                    _mm256_or_si256(_mm256_shuffle_epi8(a, m[ch][0]), _mm256_shuffle_epi8(b, m[ch][1])),
                    _mm256_shuffle_epi8(c, m[ch][2]));
                _mm256_store_si256(reinterpret_cast<__m256i*>(planes[ch] + row + done), plane);
            }
        }
    }
}

__attribute__((target("avx2"))) void transposeGatherPaired8Avx2(const uint8_t* block, uint8_t* out, size_t os,
                                                                const uint8_t* next, size_t stride,
                                                                uint8_t* nextBlock) {
    transposePairedBlock8Avx2(block, out, os, [&](uint32_t t) {
        if (next) gatherPairedRowsAvx2(next, stride, 8 * t, nextBlock);
    });
}

// A whole block into three planes in the paired layout: rows i and i + 16
// in the two lanes.
// Row pairs pair0 .. pair0 + pairs - 1, pair p being rows 32 (p / 16) + p % 16
// and 16 below.
__attribute__((target("avx2"))) inline void splitPairedPairsAvx2(const uint8_t* first, size_t stride,
                                                                 uint8_t* const planes[3], uint32_t pair0,
                                                                 uint32_t pairs) {
    __m256i m[3][3];
    QUORVEL_UNROLL for (int ch = 0; ch < 3; ++ch)
        QUORVEL_UNROLL for (int reg = 0; reg < 3; ++reg)
            m[ch][reg] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(kMasks8.bytes[ch][reg])));
    for (uint32_t pair = pair0; pair < pair0 + pairs; ++pair) {
        const uint32_t row = pair / 16 * 32 + pair % 16;
        const uint8_t* low = first + row * stride;
        const uint8_t* high = low + 16 * stride;
        QUORVEL_UNROLL for (uint32_t g = 0; g < 4; ++g) {
            const __m256i a = loadTwoRows(low + 48 * g, high + 48 * g);
            const __m256i b = loadTwoRows(low + 48 * g + 16, high + 48 * g + 16);
            const __m256i c = loadTwoRows(low + 48 * g + 32, high + 48 * g + 32);
            QUORVEL_UNROLL for (int ch = 0; ch < 3; ++ch) {
                const __m256i plane = _mm256_or_si256(
                    _mm256_or_si256(_mm256_shuffle_epi8(a, m[ch][0]), _mm256_shuffle_epi8(b, m[ch][1])),
                    _mm256_shuffle_epi8(c, m[ch][2]));
                _mm256_store_si256(reinterpret_cast<__m256i*>(planes[ch] + pairedOffset(row, g)), plane);
            }
        }
    }
}

__attribute__((target("avx2"))) void splitPairedAvx2(const uint8_t* first, size_t stride, uint8_t* p0, uint8_t* p1,
                                                     uint8_t* p2) {
    uint8_t* const planes[3] = {p0, p1, p2};
    splitPairedPairsAvx2(first, stride, planes, 0, 32);
}

// The 24 tiles of the three planes, with four row pairs of the next block
// split before every third tile.
__attribute__((target("avx2"))) void transposeSplitPaired8Avx2(const uint8_t* const planes[3], uint8_t* const out[3],
                                                               size_t os, const uint8_t* next, size_t stride,
                                                               uint8_t* const nextPlanes[3]) {
    for (uint32_t ch = 0; ch < 3; ++ch) {
        transposePairedBlock8Avx2(planes[ch], out[ch], os, [&](uint32_t t) {
            const uint32_t n = ch * 8 + t;
            if (next && n % 3 == 0) splitPairedPairsAvx2(next, stride, nextPlanes, n / 3 * 4, 4);
        });
    }
}

__attribute__((target("avx2"))) void deinterleave8Avx2(const uint8_t* first, size_t stride, uint32_t rows,
                                                       uint8_t* p0, uint8_t* p1, uint8_t* p2) {
    uint8_t* planes[3] = {p0, p1, p2};
    deinterleaveBytesAvx2(first, stride, rows, kMasks8, planes);
}

__attribute__((target("avx2"))) void deinterleave16Avx2(const uint16_t* first, size_t stride, uint32_t rows,
                                                        uint16_t* p0, uint16_t* p1, uint16_t* p2) {
    uint8_t* planes[3] = {reinterpret_cast<uint8_t*>(p0), reinterpret_cast<uint8_t*>(p1),
                          reinterpret_cast<uint8_t*>(p2)};
    deinterleaveBytesAvx2(reinterpret_cast<const uint8_t*>(first), stride * 2, rows, kMasks16, planes);
}

}  // namespace

const ConvertKernels kAvx2Kernels = {gatherPairedAvx2,          splitPairedAvx2,    transposeGatherPaired8Avx2,
                                     transposeSplitPaired8Avx2, transpose8Avx2,     transpose16Avx2,
                                     deinterleave8Avx2,         deinterleave16Avx2, streamLinesSse2};

#endif  // QUORVEL_X86
