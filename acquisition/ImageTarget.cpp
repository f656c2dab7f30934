#include "ImageTarget.h"

#include <algorithm>
#include <cstring>

namespace {

// Output row `row` of every column takes what `line` holds of its line
// (`lineBytes`, less than a line), zeros beyond; the rows below it zeros.
template <typename T>
void finishColumns(uint32_t samplesPerPixel, uint32_t width, uint32_t height, uint32_t row, const unsigned char* line,
                   size_t lineBytes, T* output) {
    const size_t pixels = size_t(width) * height;
    for (uint32_t plane = 0; plane < samplesPerPixel; ++plane) {
        const uint32_t channel = samplesPerPixel == 3 ? 2 - plane : 0;
        for (uint32_t c = 0; c < width; ++c) {
            T* column = output + plane * pixels + size_t(c) * height;
            const size_t at = (size_t(c) * samplesPerPixel + channel) * sizeof(T);
            T sample = 0;
            if (at < lineBytes) std::memcpy(&sample, line + at, std::min(sizeof(T), lineBytes - at));
            column[row] = sample;
            std::memset(column + row + 1, 0, (height - row - 1) * sizeof(T));
        }
    }
}

}  // namespace

void convertDeliveredFrame(const FrameShape& shape, uint32_t width, uint32_t height, const unsigned char* frame,
                           size_t delivered, void* output) {
    if (delivered >= shape.frameBytes(width, height)) {
        convertFrame(shape, width, height, frame, output);
        return;
    }
    // Short of a frame, so W and H are not 0.
    const size_t lineBytes = size_t(width) * shape.samplesPerPixel * shape.bytesPerSample;
    const auto rows = static_cast<uint32_t>(delivered / lineBytes);
    convertLeadingRows(shape, width, height, rows, frame, output);
    const unsigned char* line = frame + rows * lineBytes;
    const size_t rest = delivered - rows * lineBytes;
    if (shape.bytesPerSample == 2)
        finishColumns(shape.samplesPerPixel, width, height, rows, line, rest, static_cast<uint16_t*>(output));
    else
        finishColumns(shape.samplesPerPixel, width, height, rows, line, rest, static_cast<uint8_t*>(output));
}

void ImageTarget::receiveFrame(void* context, const unsigned char* frame, size_t count) {
    auto* target = static_cast<ImageTarget*>(context);
    convertDeliveredFrame(target->shape_, target->width_, target->height_, frame, count, target->output_);
    target->filled_ = true;
}

void ImageTarget::finish() {
    const size_t bytes = shape_.frameBytes(width_, height_);
    if (!filled_ && bytes > 0) std::memset(output_, 0, bytes);  // an empty image may have no data at all
}
