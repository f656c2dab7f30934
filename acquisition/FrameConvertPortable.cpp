// The portable kernels: plain loops that any compiler vectorises as it can.
#include "FrameConvertKernels.h"

namespace {

template <typename T>
void transposePortable(const T* block, T* out, size_t os) {
    constexpr uint32_t B = kBlock<T>;
    for (uint32_t i0 = 0; i0 < B; i0 += 8)
        for (uint32_t j = 0; j < B; ++j)
            for (uint32_t i = i0; i < i0 + 8; ++i) out[j * os + i] = block[i * B + j];
}

}  // namespace

const ConvertKernels kPortableKernels = {gatherRowsPortable,
                                         splitRows<deinterleavePortable<uint8_t>>,
                                         transposeThenGather<gatherRowsPortable, transposePortable<uint8_t>>,
                                         transposeThenSplit<splitRows<deinterleavePortable<uint8_t>>,
                                                            transposePortable<uint8_t>>,
                                         transposePortable<uint8_t>,
                                         transposePortable<uint16_t>,
                                         deinterleavePortable<uint8_t>,
                                         deinterleavePortable<uint16_t>,
                                         nullptr};
