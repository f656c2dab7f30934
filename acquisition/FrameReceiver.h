// Where a camera operation hands one image's frame bytes, in driver order,
// while its own buffer is still alive: the frame is converted (or copied)
// straight from there, with no copy in between.
#ifndef QUORVEL_ACQUISITION_FRAMERECEIVER_H
#define QUORVEL_ACQUISITION_FRAMERECEIVER_H

#include <cstddef>

struct FrameReceiver {
    void (*receive)(void* context, const unsigned char* frame, size_t count) = nullptr;
    void* context = nullptr;

    // Hands over `count` bytes; nothing is handed over when there are none.
    void deliver(const unsigned char* frame, size_t count) const {
        if (receive != nullptr && count > 0) receive(context, frame, count);
    }
};

#endif
