// convertFrame: a transpose (with de-interleaving for colour) done block by
// block. Each block of B x B samples (B x sample size = 64 bytes, one cache
// line) is gathered into an L1-resident buffer plane by plane and transposed
// with SIMD straight into the output, completing one output line after
// another. Reading whole input lines and writing whole output lines once
// each keeps power-of-two row lengths from thrashing cache sets, which a
// naive tiled transpose does. Where output columns lie far apart, each line
// is written whole by consecutive stores, from blocks aligned to the
// output's lines; where they are a multiple of 4 KiB apart, large outputs
// are streamed past the caches.
#include "FrameConvertPaths.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#define QUORVEL_X86 1
#include <immintrin.h>
#endif

// The tile kernels keep a whole tile in registers only when every loop
// over it is unrolled.
#define QUORVEL_UNROLL _Pragma("GCC unroll 16")

namespace {

// Kernels of one instruction set. Blocks are 64 x 64 bytes or 32 x 32
// uint16, held in an L1 buffer with a row stride of one block row (B
// samples, 64 bytes), except that whole 8-bit blocks are in the kernels'
// own layout; output strides are in samples.
struct Kernels {
    // A whole 64 x 64 byte block in the kernel's own layout: gathered from
    // 64 rows (split into planes for colour) and transposed into the output.
    void (*gatherBlock8)(const uint8_t* first, size_t stride, uint8_t* block);
    void (*splitBlock8)(const uint8_t* first, size_t stride, uint8_t* p0, uint8_t* p1, uint8_t* p2);
    // Transposes a block into the output and meanwhile, when next is given,
    // does gatherBlock8(next, stride, nextBlock), so that the gather's loads
    // overlap the transpose.
    void (*transposeGather8)(const uint8_t* block, uint8_t* out, size_t os, const uint8_t* next, size_t stride,
                             uint8_t* nextBlock);
    // The same for colour: transposes three planes into out[0..2] and
    // meanwhile splitBlock8(next, stride, nextPlanes...) when next is given.
    void (*transposeSplit8)(const uint8_t* const planes[3], uint8_t* const out[3], size_t os, const uint8_t* next,
                            size_t stride, uint8_t* const nextPlanes[3]);
    // out[j * os + i] = block[i * B + j] for a whole block.
    void (*transpose8)(const uint8_t* block, uint8_t* out, size_t os);
    void (*transpose16)(const uint16_t* block, uint16_t* out, size_t os);
    // Splits `rows` rows of B three-sample pixels, `stride` samples apart,
    // into three planes of stride B.
    void (*deinterleave8)(const uint8_t* first, size_t stride, uint32_t rows, uint8_t* p0, uint8_t* p1, uint8_t* p2);
    void (*deinterleave16)(const uint16_t* first, size_t stride, uint32_t rows, uint16_t* p0, uint16_t* p1,
                           uint16_t* p2);
    // Copies `lines` 64-byte lines from a buffer to 64-byte aligned lines
    // `strideBytes` apart, past the caches; null where the instruction set
    // has no such stores.
    void (*streamLines)(const uint8_t* from, uint8_t* to, size_t strideBytes, uint32_t lines);
};

template <typename T>
constexpr uint32_t kBlock = 64 / sizeof(T);

// Output columns at least this far apart put a block's output lines into
// one or two L1 sets, where a line written piecemeal is evicted between its
// pieces; there the kernels write each line whole, and the blocks are
// aligned to the output's lines. Nearer columns spread over enough sets,
// and holding a line's pieces back would only cost time.
constexpr size_t kWholeLineColumnBytes = 2048;

template <typename T>
void transposePortable(const T* block, T* out, size_t os) {
    constexpr uint32_t B = kBlock<T>;
    for (uint32_t i0 = 0; i0 < B; i0 += 8)
        for (uint32_t j = 0; j < B; ++j)
            for (uint32_t i = i0; i < i0 + 8; ++i) out[j * os + i] = block[i * B + j];
}

void gatherRowsPortable(const uint8_t* first, size_t stride, uint8_t* block) {
    for (uint32_t i = 0; i < 64; ++i) std::memcpy(block + i * 64, first + i * stride, 64);
}

template <void (*gather)(const uint8_t*, size_t, uint8_t*), void (*transpose)(const uint8_t*, uint8_t*, size_t)>
void transposeThenGather(const uint8_t* block, uint8_t* out, size_t os, const uint8_t* next, size_t stride,
                         uint8_t* nextBlock) {
    transpose(block, out, os);
    if (next) gather(next, stride, nextBlock);
}

template <void (*split)(const uint8_t*, size_t, uint8_t*, uint8_t*, uint8_t*),
          void (*transpose)(const uint8_t*, uint8_t*, size_t)>
void transposeThenSplit(const uint8_t* const planes[3], uint8_t* const out[3], size_t os, const uint8_t* next,
                        size_t stride, uint8_t* const nextPlanes[3]) {
    for (int ch = 0; ch < 3; ++ch) transpose(planes[ch], out[ch], os);
    if (next) split(next, stride, nextPlanes[0], nextPlanes[1], nextPlanes[2]);
}

template <void (*deinterleave)(const uint8_t*, size_t, uint32_t, uint8_t*, uint8_t*, uint8_t*)>
void splitRows(const uint8_t* first, size_t stride, uint8_t* p0, uint8_t* p1, uint8_t* p2) {
    deinterleave(first, stride, 64, p0, p1, p2);
}

// The first `columns` pixels of one row.
template <typename T>
void deinterleaveRow(const T* row, uint32_t columns, T* p0, T* p1, T* p2) {
    for (uint32_t c = 0; c < columns; ++c) {
        p0[c] = row[3 * c];
        p1[c] = row[3 * c + 1];
        p2[c] = row[3 * c + 2];
    }
}

template <typename T>
void deinterleavePortable(const T* first, size_t stride, uint32_t rows, T* p0, T* p1, T* p2) {
    constexpr uint32_t B = kBlock<T>;
    for (uint32_t i = 0; i < rows; ++i) deinterleaveRow(first + i * stride, B, p0 + i * B, p1 + i * B, p2 + i * B);
}

#ifdef QUORVEL_X86

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

void streamLinesSse2(const uint8_t* from, uint8_t* to, size_t strideBytes, uint32_t lines) {
    for (uint32_t j = 0; j < lines; ++j, from += 64, to += strideBytes)
        QUORVEL_UNROLL for (int part = 0; part < 64; part += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(to + part), loadBlockRow(from + part));
}

#endif  // QUORVEL_X86

const Kernels kPortableKernels = {gatherRowsPortable,
                                  splitRows<deinterleavePortable<uint8_t>>,
                                  transposeThenGather<gatherRowsPortable, transposePortable<uint8_t>>,
                                  transposeThenSplit<splitRows<deinterleavePortable<uint8_t>>,
                                                     transposePortable<uint8_t>>,
                                  transposePortable<uint8_t>,
                                  transposePortable<uint16_t>,
                                  deinterleavePortable<uint8_t>,
                                  deinterleavePortable<uint16_t>,
                                  nullptr};
#ifdef QUORVEL_X86
const Kernels kSse2Kernels = {gatherRowsPortable,
                              splitRows<deinterleavePortable<uint8_t>>,
                              transposeThenGather<gatherRowsPortable, transpose8Sse2>,
                              transposeThenSplit<splitRows<deinterleavePortable<uint8_t>>, transpose8Sse2>,
                              transpose8Sse2,
                              transpose16Sse2,
                              deinterleavePortable<uint8_t>,
                              deinterleavePortable<uint16_t>,
                              streamLinesSse2};
const Kernels kAvx2Kernels = {gatherPairedAvx2,           splitPairedAvx2,   transposeGatherPaired8Avx2,
                              transposeSplitPaired8Avx2, transpose8Avx2,    transpose16Avx2,
                              deinterleave8Avx2,         deinterleave16Avx2, streamLinesSse2};
#endif

void transposeBlock(const Kernels& k, const uint8_t* block, uint8_t* out, size_t os) { k.transpose8(block, out, os); }
void transposeBlock(const Kernels& k, const uint16_t* block, uint16_t* out, size_t os) {
    k.transpose16(block, out, os);
}
void deinterleaveRows(const Kernels& k, const uint8_t* first, size_t stride, uint32_t rows, uint8_t* p0, uint8_t* p1,
                      uint8_t* p2) {
    k.deinterleave8(first, stride, rows, p0, p1, p2);
}
void deinterleaveRows(const Kernels& k, const uint16_t* first, size_t stride, uint32_t rows, uint16_t* p0,
                      uint16_t* p1, uint16_t* p2) {
    k.deinterleave16(first, stride, rows, p0, p1, p2);
}

// Where a frame's output goes: which rows it spans, how far apart its
// columns and planes lie, and whether its whole lines bypass the caches.
struct OutputRegion {
    uint32_t firstRow;
    uint32_t rows;
    size_t columnStride;  // samples from one output column to the next: the frame's H
    size_t planeStride;   // samples from one output plane to the next: W x H
    bool streamed;
};

// Converts the block of B x B pixels at (r0, c0) of a region, or what of it
// lies in the region. Its rows are gathered (split into planes for colour)
// into an L1-resident buffer, read as whole input lines, and transposed: a
// whole block straight into the output, whose lines the kernels complete
// one after another (output rows whose stride is a power of two share a
// few cache sets, and a line written piecemeal would be evicted between its
// pieces), or into staging when its lines are streamed; a partial block
// through staging.
template <typename T>
struct BlockConverter {
    static constexpr uint32_t B = kBlock<T>;

    const Kernels& k;
    uint32_t samplesPerPixel;
    uint32_t width;
    uint32_t height;  // rows of the region
    size_t columnStride;  // samples from one output column to the next
    size_t pixels;        // samples of one output plane
    bool streamed;
    const T* scratch;  // the region's first input line
    T* output;         // the region's first output row
    alignas(64) T planes[3][B * B] = {};
    alignas(64) T staging[sizeof(T) == 1 ? 3 : 1][B * B] = {};
    alignas(64) T spare[sizeof(T) == 1 ? 3 : 1][B * B] = {};
    // 8-bit: planes or spare (staged) already holds the block at (stagedRow,
    // stagedColumn), gathered during the previous block's transpose.
    bool stagedValid = false;
    uint32_t staged = 0, stagedRow = 0, stagedColumn = 0;

    // Fetches the input and output lines of the block at (r0, c0) ahead of
    // its conversion: rows a power of two apart defeat the hardware
    // prefetcher, and output stores that wait for their lines fill the
    // store queue. Into L2 only: such rows share a few L1 sets, where the
    // lines would evict each other and the current block's. Streamed lines
    // are not read at all.
    void prefetch(uint32_t r0, uint32_t c0) const {
        const uint32_t rows = std::min(B, height - r0);
        const uint32_t columns = std::min(B, width - c0);
        const T* first = scratch + (size_t(r0) * width + c0) * samplesPerPixel;
        for (uint32_t i = 0; i < rows; ++i)
            prefetchLines<0>(first + size_t(i) * width * samplesPerPixel, columns * samplesPerPixel);
        if (streamed) return;
        for (uint32_t plane = 0; plane < samplesPerPixel; ++plane)
            for (uint32_t j = 0; j < columns; ++j)
                prefetchLines<1>(output + plane * pixels + (size_t(c0) + j) * columnStride + r0, rows);
    }

    template <int kWrite>
    static void prefetchLines(const T* first, uint32_t samples) {
        const char* bytes = reinterpret_cast<const char*>(first);
        for (size_t byte = 0; byte < samples * sizeof(T); byte += 64) __builtin_prefetch(bytes + byte, kWrite, 2);
    }

    void gather(const T* first, uint32_t rows, uint32_t columns) {
        const size_t stride = size_t(width) * samplesPerPixel;
        if (samplesPerPixel == 3 && columns == B) {
            deinterleaveRows(k, first, stride, rows, planes[0], planes[1], planes[2]);
            return;
        }
        for (uint32_t i = 0; i < rows; ++i) {
            const T* row = first + i * stride;
            if (samplesPerPixel == 1 && columns == B)
                std::memcpy(planes[0] + i * B, row, B * sizeof(T));  // fixed size: inlined whole-line moves
            else if (samplesPerPixel == 1)
                std::memcpy(planes[0] + i * B, row, columns * sizeof(T));
            else
                deinterleaveRow(row, columns, planes[0] + i * B, planes[1] + i * B, planes[2] + i * B);
        }
    }

    bool fullBlock(uint32_t r0, uint32_t c0) const { return height - r0 >= B && width - c0 >= B; }

    // A whole block's B output lines, transposed into staging, to the output.
    void streamBlock(const T* transposed, T* target) const {
        k.streamLines(reinterpret_cast<const uint8_t*>(transposed), reinterpret_cast<uint8_t*>(target),
                      columnStride * sizeof(T), B);
    }

    // Converts the block at (r0, c0); the block at (nextRow, nextColumn),
    // if hasNext, is the next one to be converted.
    void convert(uint32_t r0, uint32_t c0, bool hasNext, uint32_t nextRow, uint32_t nextColumn) {
        const uint32_t rows = std::min(B, height - r0);
        const uint32_t columns = std::min(B, width - c0);
        const T* first = scratch + (size_t(r0) * width + c0) * samplesPerPixel;
        if constexpr (sizeof(T) == 1) {
            if (rows == B && columns == B) {
                const size_t stride = size_t(width) * samplesPerPixel;
                T(*current)[B * B] = staged ? spare : planes;
                T(*following)[B * B] = staged ? planes : spare;
                if (!(stagedValid && stagedRow == r0 && stagedColumn == c0)) {
                    if (samplesPerPixel == 3)
                        k.splitBlock8(first, stride, current[0], current[1], current[2]);
                    else
                        k.gatherBlock8(first, stride, current[0]);
                }
                stagedValid = hasNext && fullBlock(nextRow, nextColumn);
                const uint8_t* next =
                    stagedValid ? scratch + (size_t(nextRow) * width + nextColumn) * samplesPerPixel : nullptr;
                uint8_t* target = output + size_t(c0) * columnStride + r0;
                const size_t os = streamed ? B : columnStride;
                if (samplesPerPixel == 3) {
                    const uint8_t* const blocks[3] = {current[0], current[1], current[2]};
                    uint8_t* const targets[3] = {target + 2 * pixels, target + pixels, target};
                    uint8_t* const transposed[3] = {staging[0], staging[1], staging[2]};
                    uint8_t* const nextPlanes[3] = {following[0], following[1], following[2]};
                    k.transposeSplit8(blocks, streamed ? transposed : targets, os, next, stride, nextPlanes);
                    if (streamed)
                        for (int ch = 0; ch < 3; ++ch) streamBlock(transposed[ch], targets[ch]);
                } else {
                    k.transposeGather8(current[0], streamed ? staging[0] : target, os, next, stride, following[0]);
                    if (streamed) streamBlock(staging[0], target);
                }
                staged ^= stagedValid ? 1 : 0;
                stagedRow = nextRow;
                stagedColumn = nextColumn;
                return;
            }
        }
        gather(first, rows, columns);
        for (uint32_t ch = 0; ch < samplesPerPixel; ++ch) {
            const uint32_t plane = samplesPerPixel == 3 ? 2 - ch : 0;
            T* target = output + plane * pixels + size_t(c0) * columnStride + r0;
            if (rows == B && columns == B && !streamed) {
                transposeBlock(k, planes[ch], target, columnStride);
                continue;
            }
            transposeBlock(k, planes[ch], staging[0], B);
            if (rows == B && columns == B) {
                streamBlock(staging[0], target);
                continue;
            }
            for (uint32_t j = 0; j < columns; ++j)
                std::memcpy(target + size_t(j) * columnStride, staging[0] + j * B, rows * sizeof(T));
        }
    }

    // Blocks are visited in tiles of 256 x 256 pixels, down each column band
    // of a tile, so that every output row is written in runs of 256 samples
    // and the pages one tile touches stay in the TLB. Each block is converted
    // kAhead steps after its lines were prefetched, while later blocks' lines
    // arrive; a full 8-bit block is gathered while the one before it is
    // transposed.
    void run() {
        constexpr uint32_t kTile = 256;
        constexpr uint32_t kAhead = 4;
        uint32_t queued = 0, queueRow[kAhead] = {}, queueColumn[kAhead] = {};
        for (uint32_t tileRow = 0; tileRow < height; tileRow += kTile) {
            const uint32_t rowEnd = tileRow + std::min(kTile, height - tileRow);
            for (uint32_t tileColumn = 0; tileColumn < width; tileColumn += kTile) {
                const uint32_t columnEnd = tileColumn + std::min(kTile, width - tileColumn);
                for (uint32_t c0 = tileColumn; c0 < columnEnd; c0 += B) {
                    for (uint32_t r0 = tileRow; r0 < rowEnd; r0 += B) {
                        prefetch(r0, c0);
                        const uint32_t slot = queued % kAhead;
                        if (queued >= kAhead)
                            convert(queueRow[slot], queueColumn[slot], true, queueRow[(slot + 1) % kAhead],
                                    queueColumn[(slot + 1) % kAhead]);
                        queueRow[slot] = r0;
                        queueColumn[slot] = c0;
                        ++queued;
                    }
                }
            }
        }
        for (uint32_t n = queued > kAhead ? queued - kAhead : 0; n < queued; ++n)
            convert(queueRow[n % kAhead], queueColumn[n % kAhead], n + 1 < queued, queueRow[(n + 1) % kAhead],
                    queueColumn[(n + 1) % kAhead]);
    }
};

template <typename T>
void convertRegion(const Kernels& k, uint32_t samplesPerPixel, uint32_t width, const OutputRegion& region,
                   const T* scratch, T* output) {
    if (region.rows == 0) return;
    BlockConverter<T> converter{k,
                                samplesPerPixel,
                                width,
                                region.rows,
                                region.columnStride,
                                region.planeStride,
                                region.streamed,
                                scratch + size_t(region.firstRow) * width * samplesPerPixel,
                                output + region.firstRow};
    converter.run();
}

// Output columns a multiple of 4 KiB apart put the lines a block writes
// into a single L1 set (4 KiB is the span of one L1 way on current x86
// cores), where cached stores queue for it; such outputs are streamed past
// the caches instead, whole lines at a time with nothing read for them
// first, once they are too large (1 MiB) to be worth keeping in the caches
// for the caller.
constexpr size_t kSingleSetColumnBytes = 4096;
constexpr size_t kStreamedOutputBytes = size_t(1) << 20;

bool streamsBySize(size_t columnBytes, size_t outputBytes) {
    return columnBytes % kSingleSetColumnBytes == 0 && outputBytes >= kStreamedOutputBytes;
}

// Whether the output's columns are a whole number of lines apart, so that
// one choice of the first block row aligns every column's runs to lines.
template <typename T>
bool columnsAreWholeLines(uint32_t height, const T* output) {
    return height > 0 && (size_t(height) * sizeof(T)) % 64 == 0 &&
           reinterpret_cast<uintptr_t>(output) % sizeof(T) == 0;
}

// Where whole lines are written (streamed, or columns far apart), the
// blocks are aligned to the output's lines: the rows above the first line
// boundary are converted as a region of their own, the rest in blocks whose
// output runs start on line boundaries. A run that straddles two lines
// would leave both half written, which costs a second fetch of each and
// defeats streaming.
// Only the first `rows` rows of every output column are written; with two
// threads, by this thread and a helper.
template <typename T>
void convertBlocks(const Kernels& k, OutputStores stores, uint32_t threads, uint32_t samplesPerPixel, uint32_t width,
                   uint32_t height, uint32_t rows, const T* scratch, T* output) {
    const size_t planeStride = size_t(width) * height;
    const size_t columnBytes = size_t(height) * sizeof(T);
    const bool wholeLines = columnsAreWholeLines(height, output);
    const bool streamed = wholeLines && stores != OutputStores::Cached && k.streamLines != nullptr &&
                          (stores == OutputStores::Streamed ||
                           streamsBySize(columnBytes, planeStride * samplesPerPixel * sizeof(T)));
    const auto misalignment = uint32_t(reinterpret_cast<uintptr_t>(output) % 64);
    const bool aligned = misalignment == 0 || !wholeLines || (!streamed && columnBytes < kWholeLineColumnBytes);
    const uint32_t lead = std::min<uint32_t>(rows, aligned ? 0 : (64 - misalignment) / sizeof(T));
    convertRegion(k, samplesPerPixel, width, OutputRegion{0, lead, height, planeStride, false}, scratch, output);
    const auto convertRest = [&](uint32_t first, uint32_t count) {
        convertRegion(k, samplesPerPixel, width, OutputRegion{first, count, height, planeStride, streamed}, scratch,
                      output);
#ifdef QUORVEL_X86
        if (streamed) _mm_sfence();  // streamed lines reach memory before any later store
#endif
    };
    // A helper thread takes the lower half of the rows, split on a whole
    // output line, so that no line is written by both threads.
    const uint32_t half = (rows - lead) / 2 / kBlock<T> * kBlock<T>;
    if (threads < 2 || half == 0) {
        convertRest(lead, rows - lead);
        return;
    }
    std::thread helper;
    try {
        helper = std::thread(convertRest, lead + half, rows - lead - half);
    } catch (const std::system_error&) {
        convertRest(lead, rows - lead);  // no thread to be had: all on this one
        return;
    }
    convertRest(lead, half);
    helper.join();
}

const Kernels& kernelsOf(ConvertPath path) {
#ifdef QUORVEL_X86
    if (path == ConvertPath::Avx2) return kAvx2Kernels;
    if (path == ConvertPath::Sse2) return kSse2Kernels;
#endif
    (void)path;
    return kPortableKernels;
}

ConvertPath bestPath() {
#ifdef QUORVEL_X86
    if (__builtin_cpu_supports("avx2")) return ConvertPath::Avx2;
    return ConvertPath::Sse2;
#else
    return ConvertPath::Portable;
#endif
}

}  // namespace

bool convertPathAvailable(ConvertPath path) {
    switch (path) {
        case ConvertPath::Portable: return true;
#ifdef QUORVEL_X86
        case ConvertPath::Sse2: return true;
        case ConvertPath::Avx2: return __builtin_cpu_supports("avx2");
#endif
        default: return false;
    }
}

ConvertPath selectedConvertPath() {
    static const ConvertPath chosen = bestPath();
    return chosen;
}

namespace {

void convertRows(ConvertPath path, OutputStores stores, uint32_t threads, const FrameShape& shape, uint32_t width,
                 uint32_t height, uint32_t rows, const void* scratch, void* output) {
    const Kernels& k = kernelsOf(path);
    if (shape.bytesPerSample == 2)
        convertBlocks(k, stores, threads, shape.samplesPerPixel, width, height, rows,
                      static_cast<const uint16_t*>(scratch), static_cast<uint16_t*>(output));
    else
        convertBlocks(k, stores, threads, shape.samplesPerPixel, width, height, rows,
                      static_cast<const uint8_t*>(scratch), static_cast<uint8_t*>(output));
}

}  // namespace

void convertFrameOn(ConvertPath path, OutputStores stores, const FrameShape& shape, uint32_t width, uint32_t height,
                    const void* scratch, void* output, uint32_t threads) {
    convertRows(path, stores, threads, shape, width, height, height, scratch, output);
}

void convertFrame(const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch, void* output) {
    convertRows(selectedConvertPath(), OutputStores::BySize, 1, shape, width, height, height, scratch, output);
}

void convertLeadingRows(const FrameShape& shape, uint32_t width, uint32_t height, uint32_t rows, const void* scratch,
                        void* output) {
    convertRows(selectedConvertPath(), OutputStores::BySize, 1, shape, width, height, std::min(rows, height), scratch,
                output);
}
