#include "HostMemory.h"

#include <unistd.h>

namespace {

uint64_t askHostMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageBytes = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageBytes <= 0) return UINT64_MAX;  // unknown: the host's allocation decides
    return uint64_t(pages) * uint64_t(pageBytes);
}

}  // namespace

uint64_t hostMemoryBytes() {
    // Asked once: the question is a system call, and a grab asks it every time.
    static const uint64_t bytes = askHostMemoryBytes();
    return bytes;
}

bool imagesFitHost(const FrameShape& shape, uint32_t width, uint32_t height, uint64_t frames) {
    const uint64_t pixels = uint64_t(width) * height;
    const uint64_t pixelBytes = uint64_t(shape.samplesPerPixel) * shape.bytesPerSample;
    if (pixels != 0 && pixelBytes > UINT64_MAX / pixels) return false;
    const uint64_t frameBytes = pixels * pixelBytes;
    if (frames != 0 && frameBytes > UINT64_MAX / frames) return false;
    return frameBytes * frames <= hostMemoryBytes();
}
