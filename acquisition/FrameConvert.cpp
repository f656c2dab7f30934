// convertFrame: a transpose (with de-interleaving for colour) done block by
// block. Each block of B x B samples (B x sample size = 64 bytes, one cache
// line) is gathered into an L1-resident buffer plane by plane, transposed
// with SIMD, and written as whole output cache lines. Reading whole input
// lines and writing whole output lines once each keeps power-of-two row
// lengths from thrashing cache sets, which a naive tiled transpose does.
#include "FrameConvertPaths.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define QUORVEL_X86 1
#include <immintrin.h>
#endif

// The tile kernels keep a whole tile in registers only when every loop
// over it is unrolled.
#define QUORVEL_UNROLL _Pragma("GCC unroll 16")

namespace {

// Kernels of one instruction set. Blocks are 64 x 64 bytes or 32 x 32
// uint16; strides are in samples.
struct Kernels {
    // out[j * os + i] = a[i * as + j] for a whole block.
    void (*transpose8)(const uint8_t* a, size_t as, uint8_t* out, size_t os);
    void (*transpose16)(const uint16_t* a, size_t as, uint16_t* out, size_t os);
    // Splits one block row of three-sample pixels into three planes.
    void (*deinterleave8)(const uint8_t* row, uint8_t* p0, uint8_t* p1, uint8_t* p2);
    void (*deinterleave16)(const uint16_t* row, uint16_t* p0, uint16_t* p1, uint16_t* p2);
};

template <typename T>
constexpr uint32_t kBlock = 64 / sizeof(T);

template <typename T>
void transposePortable(const T* a, size_t as, T* out, size_t os) {
    constexpr uint32_t B = kBlock<T>;
    for (uint32_t i0 = 0; i0 < B; i0 += 8)
        for (uint32_t j = 0; j < B; ++j)
            for (uint32_t i = i0; i < i0 + 8; ++i) out[j * os + i] = a[i * as + j];
}

template <typename T>
void deinterleavePortable(const T* row, T* p0, T* p1, T* p2) {
    for (uint32_t c = 0; c < kBlock<T>; ++c) {
        p0[c] = row[3 * c];
        p1[c] = row[3 * c + 1];
        p2[c] = row[3 * c + 2];
    }
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

// 16 x 16 bytes: four perfect shuffles rotate the (row, column) bits into
// (column, row).
inline void transposeTile8Sse2(const uint8_t* a, size_t as, uint8_t* out, size_t os) {
    __m128i r[16], t[16];
    QUORVEL_UNROLL for (int i = 0; i < 16; ++i) r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i * as));
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
    QUORVEL_UNROLL for (int j = 0; j < 16; ++j) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j * os), r[j]);
}

// 8 x 8 uint16: three perfect shuffles.
inline void transposeTile16Sse2(const uint16_t* a, size_t as, uint16_t* out, size_t os) {
    __m128i r[8], t[8];
    QUORVEL_UNROLL for (int i = 0; i < 8; ++i) r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i * as));
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
    QUORVEL_UNROLL for (int j = 0; j < 8; ++j) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j * os), t[j]);
}

// Rows run innermost so that the tiles filling one output line follow
// each other.
void transpose8Sse2(const uint8_t* a, size_t as, uint8_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 64; j0 += 16)
        for (uint32_t i0 = 0; i0 < 64; i0 += 16) transposeTile8Sse2(a + i0 * as + j0, as, out + j0 * os + i0, os);
}

void transpose16Sse2(const uint16_t* a, size_t as, uint16_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 32; j0 += 8)
        for (uint32_t i0 = 0; i0 < 32; i0 += 8) transposeTile16Sse2(a + i0 * as + j0, as, out + j0 * os + i0, os);
}

__attribute__((target("avx2"))) inline __m256i loadTwoRows(const void* low, const void* high) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(static_cast<const __m128i*>(high)), 1);
}

// Two 16 x 16 byte tiles at once, rows i and i + 16 sharing a register, so
// each output row takes 32 contiguous bytes.
__attribute__((target("avx2"))) void transpose8Avx2(const uint8_t* a, size_t as, uint8_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 64; j0 += 16) {
        for (uint32_t i0 = 0; i0 < 64; i0 += 32) {
            const uint8_t* tile = a + i0 * as + j0;
            __m256i r[16], t[16];
            QUORVEL_UNROLL for (int i = 0; i < 16; ++i) r[i] = loadTwoRows(tile + i * as, tile + (i + 16) * as);
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
            QUORVEL_UNROLL for (int j = 0; j < 16; ++j)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + (j0 + j) * os + i0), r[j]);
        }
    }
}

__attribute__((target("avx2"))) void transpose16Avx2(const uint16_t* a, size_t as, uint16_t* out, size_t os) {
    for (uint32_t j0 = 0; j0 < 32; j0 += 8) {
        for (uint32_t i0 = 0; i0 < 32; i0 += 16) {
            const uint16_t* tile = a + i0 * as + j0;
            __m256i r[8], t[8];
            QUORVEL_UNROLL for (int i = 0; i < 8; ++i) r[i] = loadTwoRows(tile + i * as, tile + (i + 8) * as);
            QUORVEL_UNROLL for (int i = 0; i < 4; ++i) {
                t[2 * i] = _mm256_unpacklo_epi16(r[i], r[i + 4]);
                t[2 * i + 1] = _mm256_unpackhi_epi16(r[i], r[i + 4]);
            }
            QUORVEL_UNROLL for (int i = 0; i < 4; ++i) {
                r[2 * i] = _mm256_unpacklo_epi16(t[i], t[i + 4]);
                r[2 * i + 1] = _mm256_unpackhi_epi16(t[i], t[i + 4]);
            }
            QUORVEL_UNROLL for (int i = 0; i < 4; ++i) {
                t[2 * i] = _mm256_unpacklo_epi16(r[i], r[i + 4]);
                t[2 * i + 1] = _mm256_unpackhi_epi16(r[i], r[i + 4]);
            }
            QUORVEL_UNROLL for (int j = 0; j < 8; ++j)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + (j0 + j) * os + i0), t[j]);
        }
    }
}

// 64 bytes of output per plane: 48-byte groups of pixels, two per pass,
// one in each 128-bit lane.
__attribute__((target("avx2"))) void deinterleaveBytesAvx2(const uint8_t* row, const ShuffleMasks& masks,
                                                          uint8_t* planes[3]) {
    __m256i m[3][3];
    QUORVEL_UNROLL for (int ch = 0; ch < 3; ++ch)
        QUORVEL_UNROLL for (int reg = 0; reg < 3; ++reg)
            m[ch][reg] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(masks.bytes[ch][reg])));
    QUORVEL_UNROLL for (uint32_t done = 0; done < 64; done += 32) {
        const uint8_t* in = row + 3 * done;
        const __m256i a = loadTwoRows(in, in + 48);
        const __m256i b = loadTwoRows(in + 16, in + 64);
        const __m256i c = loadTwoRows(in + 32, in + 80);
        QUORVEL_UNROLL for (int ch = 0; ch < 3; ++ch) {
            const __m256i plane = _mm256_or_si256(
                _mm256_or_si256(_mm256_shuffle_epi8(a, m[ch][0]), _mm256_shuffle_epi8(b, m[ch][1])),
                _mm256_shuffle_epi8(c, m[ch][2]));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(planes[ch] + done), plane);
        }
    }
}

__attribute__((target("avx2"))) void deinterleave8Avx2(const uint8_t* row, uint8_t* p0, uint8_t* p1, uint8_t* p2) {
    uint8_t* planes[3] = {p0, p1, p2};
    deinterleaveBytesAvx2(row, kMasks8, planes);
}

__attribute__((target("avx2"))) void deinterleave16Avx2(const uint16_t* row, uint16_t* p0, uint16_t* p1,
                                                        uint16_t* p2) {
    uint8_t* planes[3] = {reinterpret_cast<uint8_t*>(p0), reinterpret_cast<uint8_t*>(p1),
                          reinterpret_cast<uint8_t*>(p2)};
    deinterleaveBytesAvx2(reinterpret_cast<const uint8_t*>(row), kMasks16, planes);
}

#endif  // QUORVEL_X86

const Kernels kPortableKernels = {transposePortable<uint8_t>, transposePortable<uint16_t>,
                                  deinterleavePortable<uint8_t>, deinterleavePortable<uint16_t>};
#ifdef QUORVEL_X86
const Kernels kSse2Kernels = {transpose8Sse2, transpose16Sse2, deinterleavePortable<uint8_t>,
                              deinterleavePortable<uint16_t>};
const Kernels kAvx2Kernels = {transpose8Avx2, transpose16Avx2, deinterleave8Avx2, deinterleave16Avx2};
#endif

void transposeBlock(const Kernels& k, const uint8_t* a, size_t as, uint8_t* out, size_t os) {
    k.transpose8(a, as, out, os);
}
void transposeBlock(const Kernels& k, const uint16_t* a, size_t as, uint16_t* out, size_t os) {
    k.transpose16(a, as, out, os);
}
void deinterleaveBlockRow(const Kernels& k, const uint8_t* row, uint8_t* p0, uint8_t* p1, uint8_t* p2) {
    k.deinterleave8(row, p0, p1, p2);
}
void deinterleaveBlockRow(const Kernels& k, const uint16_t* row, uint16_t* p0, uint16_t* p1, uint16_t* p2) {
    k.deinterleave16(row, p0, p1, p2);
}

// Converts the block of B x B pixels at (r0, c0), or what of it lies in
// the frame. Its rows are gathered (split into planes for colour) into an
// L1-resident buffer, read as whole input lines, transposed into a second
// buffer, and each output line is written whole and in one go: output rows
// whose stride is a power of two share a few cache sets, and a line written
// piecemeal would be evicted between its pieces.
template <typename T>
struct BlockConverter {
    static constexpr uint32_t B = kBlock<T>;

    const Kernels& k;
    uint32_t samplesPerPixel;
    uint32_t width;
    uint32_t height;
    const T* scratch;
    T* output;
    size_t pixels = size_t(width) * height;
    alignas(64) T planes[3][B * B] = {};
    alignas(64) T transposed[B * B] = {};

    void gather(const T* first, uint32_t rows, uint32_t columns) {
        for (uint32_t i = 0; i < rows; ++i) {
            const T* row = first + size_t(i) * width * samplesPerPixel;
            T* p0 = planes[0] + i * B;
            if (samplesPerPixel == 1 && columns == B) {
                std::memcpy(p0, row, B * sizeof(T));  // fixed size: inlined whole-line moves
            } else if (samplesPerPixel == 1) {
                std::memcpy(p0, row, columns * sizeof(T));
            } else if (columns == B) {
                deinterleaveBlockRow(k, row, p0, planes[1] + i * B, planes[2] + i * B);
            } else {
                for (uint32_t c = 0; c < columns; ++c) {
                    p0[c] = row[3 * c];
                    planes[1][i * B + c] = row[3 * c + 1];
                    planes[2][i * B + c] = row[3 * c + 2];
                }
            }
        }
    }

    void convert(uint32_t r0, uint32_t c0) {
        const uint32_t rows = std::min(B, height - r0);
        const uint32_t columns = std::min(B, width - c0);
        gather(scratch + (size_t(r0) * width + c0) * samplesPerPixel, rows, columns);
        for (uint32_t ch = 0; ch < samplesPerPixel; ++ch) {
            const uint32_t plane = samplesPerPixel == 3 ? 2 - ch : 0;
            T* target = output + plane * pixels + size_t(c0) * height + r0;
            if (rows == B && columns == B) {
                transposeBlock(k, planes[ch], B, target, height);
                continue;
            }
            transposeBlock(k, planes[ch], B, transposed, B);
            if (rows == B) {
                for (uint32_t j = 0; j < columns; ++j)
                    std::memcpy(target + size_t(j) * height, transposed + j * B, B * sizeof(T));
            } else {
                for (uint32_t j = 0; j < columns; ++j)
                    std::memcpy(target + size_t(j) * height, transposed + j * B, rows * sizeof(T));
            }
        }
    }
};

// Blocks are visited in tiles of 256 x 256 pixels, down each column band
// of a tile, so that every output row is written in runs of 256 samples and
// the pages one tile touches stay in the TLB.
template <typename T>
void convertBlocks(const Kernels& k, uint32_t samplesPerPixel, uint32_t width, uint32_t height, const T* scratch,
                   T* output) {
    constexpr uint32_t B = kBlock<T>;
    constexpr uint32_t kTile = 256;
    BlockConverter<T> converter{k, samplesPerPixel, width, height, scratch, output};
    for (uint32_t tileRow = 0; tileRow < height; tileRow += kTile) {
        const uint32_t rowEnd = tileRow + std::min(kTile, height - tileRow);
        for (uint32_t tileColumn = 0; tileColumn < width; tileColumn += kTile) {
            const uint32_t columnEnd = tileColumn + std::min(kTile, width - tileColumn);
            for (uint32_t c0 = tileColumn; c0 < columnEnd; c0 += B)
                for (uint32_t r0 = tileRow; r0 < rowEnd; r0 += B) converter.convert(r0, c0);
        }
    }
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

void convertFrameOn(ConvertPath path, const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch,
                    void* output) {
    const Kernels& k = kernelsOf(path);
    if (shape.bytesPerSample == 2)
        convertBlocks(k, shape.samplesPerPixel, width, height, static_cast<const uint16_t*>(scratch),
                      static_cast<uint16_t*>(output));
    else
        convertBlocks(k, shape.samplesPerPixel, width, height, static_cast<const uint8_t*>(scratch),
                      static_cast<uint8_t*>(output));
}

void convertFrame(const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch, void* output) {
    convertFrameOn(selectedConvertPath(), shape, width, height, scratch, output);
}
