#include "FrameArrays.h"

#include "acquisition/ChannelOrder.h"
#include "acquisition/ReadoutImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace py = pybind11;

namespace {

constexpr size_t kBlockAlignment = 64;
// Blocks past the most the C heap ever keeps for reuse (glibc's largest
// mmap threshold) come fresh from the system every time: they start on a
// huge page and ask for huge pages, as numpy's own large arrays do, so
// that a fresh stack costs few page faults. Smaller ones, a grab's image,
// come from the heap, warm from the last one freed.
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kFreshBlockBytes = size_t(32) << 20;

// A readout frame handed over in place: colour reversed, mono as it is.
void finishInPlace(void* context, const unsigned char* frame, size_t count) {
    putInPlaneOrder(*static_cast<const FrameShape*>(context), const_cast<unsigned char*>(frame), count);
}

struct SliceCopy {
    const FrameShape* shape;
    unsigned char* slice;
};

// A frame handed over from the module's staging buffer into its slice.
void copyIntoSlice(void* context, const unsigned char* frame, size_t count) {
    auto* copy = static_cast<SliceCopy*>(context);
    std::memcpy(copy->slice, frame, count);
    finishInPlace(const_cast<FrameShape*>(copy->shape), copy->slice, count);
}

}  // namespace

FrameBlock allocateFrameBlock(size_t bytes) {
    FrameBlock block;
    const size_t alignment = bytes > kFreshBlockBytes ? kHugePage : kBlockAlignment;
    const size_t rounded = (std::max<size_t>(bytes, 1) + alignment - 1) / alignment * alignment;
    block.data = std::aligned_alloc(alignment, rounded);
#ifdef MADV_HUGEPAGE
    if (block.data != nullptr && alignment == kHugePage) madvise(block.data, rounded, MADV_HUGEPAGE);
#endif
    block.bytes = block.data != nullptr ? bytes : 0;
    return block;
}

void releaseFrameBlock(FrameBlock& block) {
    std::free(block.data);
    block = FrameBlock{};
}

std::vector<py::ssize_t> arrayShape(const FrameShape& shape, uint32_t width, uint32_t height, size_t frames,
                                    bool stacked) {
    std::vector<py::ssize_t> dimensions;
    if (stacked) dimensions.push_back(py::ssize_t(frames));
    dimensions.push_back(height);
    dimensions.push_back(width);
    if (shape.samplesPerPixel == 3) dimensions.push_back(3);
    return dimensions;
}

py::array arrayOverBlock(FrameBlock& block, const FrameShape& shape, uint32_t width, uint32_t height, size_t frames,
                         bool stacked) {
    const std::vector<py::ssize_t> dimensions = arrayShape(shape, width, height, frames, stacked);
    const py::dtype type = shape.sampleType == SampleType::UInt16 ? py::dtype::of<uint16_t>() : py::dtype::of<uint8_t>();
    py::capsule owner(block.data, [](void* data) { std::free(data); });
    block = FrameBlock{};  // the capsule owns it now
    return py::array(type, dimensions, {}, owner.get_pointer(), owner);
}

size_t freshStackBytes(const ReadoutImage& image, size_t frames) {
    if (frames == 0) return 0;
    const size_t frameBytes = image.frameBytes();
    return (frames - 1) * frameBytes + std::max(frameBytes, readoutFrameBound(image.width, image.height));
}

ResultCode readIntoStack(int32_t cameraId, const std::vector<uint64_t>& numbers, BulkAddressing addressing,
                         const ReadoutImage& image, StackMemory memory, uint32_t* read) {
    *read = 0;
    const size_t frameBytes = image.frameBytes();
    const size_t bound = readoutFrameBound(image.width, image.height);
    FrameShape shape = image.shape;
    for (size_t k = 0; k < numbers.size(); ++k) {
        unsigned char* slice = memory.data + k * frameBytes;
        SliceCopy copy{&shape, slice};
        const bool inPlace = k * frameBytes + bound <= memory.capacity;
        ReadoutDestination destination =
            image.destination(inPlace ? FrameReceiver{finishInPlace, &shape} : FrameReceiver{copyIntoSlice, &copy});
        if (inPlace) destination.staging = slice;
        const ResultCode code = camReadRecorded(cameraId, numbers[k], addressing, destination, shape.layoutCode);
        if (code != ResultOk) return code;
        ++*read;
    }
    return ResultOk;
}
