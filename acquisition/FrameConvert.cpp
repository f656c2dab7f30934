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
#include "ConversionHelper.h"
#include "FrameConvertKernels.h"
#include "FrameConvertPaths.h"

#include <algorithm>
#include <cstring>
#include <thread>

#ifdef QUORVEL_X86
#include <immintrin.h>
#endif

namespace {

void transposeBlock(const ConvertKernels& k, const uint8_t* block, uint8_t* out, size_t os) {
    k.transpose8(block, out, os);
}
void transposeBlock(const ConvertKernels& k, const uint16_t* block, uint16_t* out, size_t os) {
    k.transpose16(block, out, os);
}
void deinterleaveRows(const ConvertKernels& k, const uint8_t* first, size_t stride, uint32_t rows, uint8_t* p0,
                      uint8_t* p1, uint8_t* p2) {
    k.deinterleave8(first, stride, rows, p0, p1, p2);
}
void deinterleaveRows(const ConvertKernels& k, const uint16_t* first, size_t stride, uint32_t rows, uint16_t* p0,
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

    const ConvertKernels& k;
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
void convertRegion(const ConvertKernels& k, uint32_t samplesPerPixel, uint32_t width, const OutputRegion& region,
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
// Enough bands that the two threads finish close together, few enough
// that claiming one costs nothing.
constexpr uint32_t kConversionBands = 8;

template <typename T>
void convertBlocks(const ConvertKernels& k, OutputStores stores, uint32_t threads, uint32_t samplesPerPixel,
                   uint32_t width, uint32_t height, uint32_t rows, const T* scratch, T* output) {
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
    // Two threads share the rows in bands of whole blocks: on whole output
    // lines where the output is line-aligned above; elsewhere two bands may
    // share one cache line at their border, which costs a little speed,
    // never a sample.
    const uint32_t band = std::max(kBlock<T>, (rows - lead) / kConversionBands / kBlock<T> * kBlock<T>);
    if (threads < 2 || rows - lead < 2 * band) {
        convertRest(lead, rows - lead);
        return;
    }
    struct Bands {
        const decltype(convertRest)* convert;
        uint32_t first;
        uint32_t rows;
        uint32_t band;
    } bands{&convertRest, lead, rows - lead, band};
    const auto convertBand = [](void* context, uint32_t index) {
        const auto* b = static_cast<const Bands*>(context);
        const uint32_t offset = index * b->band;
        (*b->convert)(b->first + offset, std::min(b->band, b->rows - offset));
    };
    runOnBothThreads(convertBand, &bands, (rows - lead + band - 1) / band);
}

const ConvertKernels& kernelsOf(ConvertPath path) {
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
    const ConvertKernels& k = kernelsOf(path);
    if (shape.bytesPerSample == 2)
        convertBlocks(k, stores, threads, shape.samplesPerPixel, width, height, rows,
                      static_cast<const uint16_t*>(scratch), static_cast<uint16_t*>(output));
    else
        convertBlocks(k, stores, threads, shape.samplesPerPixel, width, height, rows,
                      static_cast<const uint8_t*>(scratch), static_cast<uint8_t*>(output));
}

// Two threads for large outputs where a second hardware thread exists.
uint32_t threadsFor(const FrameShape& shape, uint32_t width, uint32_t height) {
    static const bool secondThread = std::thread::hardware_concurrency() >= 2;
    return secondThread && shape.frameBytes(width, height) >= kTwoThreadOutputBytes ? 2 : 1;
}

}  // namespace

void convertFrameOn(ConvertPath path, OutputStores stores, const FrameShape& shape, uint32_t width, uint32_t height,
                    const void* scratch, void* output, uint32_t threads) {
    convertRows(path, stores, threads, shape, width, height, height, scratch, output);
}

void convertFrame(const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch, void* output) {
    convertRows(selectedConvertPath(), OutputStores::BySize, threadsFor(shape, width, height), shape, width, height,
                height, scratch, output);
}

void convertLeadingRows(const FrameShape& shape, uint32_t width, uint32_t height, uint32_t rows, const void* scratch,
                        void* output) {
    convertRows(selectedConvertPath(), OutputStores::BySize, threadsFor(shape, width, height), shape, width, height,
                std::min(rows, height), scratch, output);
}