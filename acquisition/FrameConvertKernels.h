// The kernels of convertFrame for one instruction set each: gathering a
// block of input rows into an L1 buffer (split into planes for colour) and
// transposing it into the output. FrameConvert.cpp schedules the blocks and
// picks the table the processor can run.
#ifndef QUORVEL_ACQUISITION_FRAMECONVERTKERNELS_H
#define QUORVEL_ACQUISITION_FRAMECONVERTKERNELS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define QUORVEL_X86 1
#endif

// The tile kernels keep a whole tile in registers only when every loop
// over it is unrolled.
#define QUORVEL_UNROLL _Pragma("GCC unroll 16")

// Kernels of one instruction set. Blocks are 64 x 64 bytes or 32 x 32
// uint16, held in an L1 buffer with a row stride of one block row (B
// samples, 64 bytes), except that whole 8-bit blocks are in the kernels'
// own layout; output strides are in samples.
struct ConvertKernels {
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

// The portable pieces, shared by the tables that have nothing faster.
inline void gatherRowsPortable(const uint8_t* first, size_t stride, uint8_t* block) {
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

extern const ConvertKernels kPortableKernels;
#ifdef QUORVEL_X86
extern const ConvertKernels kSse2Kernels;
extern const ConvertKernels kAvx2Kernels;

// SSE2's non-temporal stores, which the AVX2 table uses too.
void streamLinesSse2(const uint8_t* from, uint8_t* to, size_t strideBytes, uint32_t lines);
#endif

#endif
