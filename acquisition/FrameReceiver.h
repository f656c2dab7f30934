// Where a camera operation hands one image's frame bytes, in driver order,
// while its own buffer is still alive: the frame is converted (or copied)
// straight from there, with no copy in between.
#ifndef QUORVEL_ACQUISITION_FRAMERECEIVER_H
#define QUORVEL_ACQUISITION_FRAMERECEIVER_H

#include <cstddef>
#include <cstring>

struct FrameReceiver {
    void (*receive)(void* context, const unsigned char* frame, size_t count) = nullptr;
    void* context = nullptr;

    // Hands over `count` bytes; nothing is handed over when there are none.
    void deliver(const unsigned char* frame, size_t count) const {
        if (receive != nullptr && count > 0) receive(context, frame, count);
    }
};

// Copies what is delivered to the start of `destination` (nullptr: dropped).
inline FrameReceiver copyingReceiver(void* destination) {
    auto copy = [](void* context, const unsigned char* frame, size_t count) { std::memcpy(context, frame, count); };
    return destination == nullptr ? FrameReceiver{} : FrameReceiver{copy, destination};
}

#endif
