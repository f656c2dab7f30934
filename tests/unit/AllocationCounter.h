// The module's allocator replaced for as long as one of these lives: it
// notes the size of every block asked for and which blocks are still held,
// and can refuse one position or every request. Blocks the module gives
// back must be ones it took here. One counter at a time.
#ifndef QUORVEL_TESTS_ALLOCATIONCOUNTER_H
#define QUORVEL_TESTS_ALLOCATIONCOUNTER_H

#include "common/FrameBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

class AllocationCounter {
public:
    AllocationCounter() {
        log() = Log{};
        setFrameBufferAllocator({allocate, release});
    }
    ~AllocationCounter() {
        EXPECT_EQ(held(), 0u) << "a block the module took was not given back";
        setFrameBufferAllocator(defaultFrameBufferAllocator());
    }
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    // The sizes asked for since the start or the last restart, refused ones
    // included, in order.
    const std::vector<size_t>& sizes() const { return log().sizes; }
    size_t asked() const { return log().sizes.size(); }
    // Blocks taken and not yet given back.
    size_t held() const { return log().held.size(); }

    // Refuses the request of this position (0 is the first after a restart).
    void refuseAt(size_t position) { log().refuseAt = position; }
    void refuseAll() { log().refuseAll = true; }

    // Counts afresh from position 0; refusals and held blocks stay.
    void restart() { log().sizes.clear(); }

private:
    struct Log {
        std::vector<size_t> sizes;
        std::set<void*> held;
        size_t refuseAt = SIZE_MAX;
        bool refuseAll = false;
    };
    static Log& log() {
        static Log instance;
        return instance;
    }

    static void* allocate(size_t bytes) {
        Log& state = log();
        const size_t position = state.sizes.size();
        state.sizes.push_back(bytes);
        if (state.refuseAll || position == state.refuseAt) return nullptr;
        void* block = std::malloc(bytes);
        state.held.insert(block);
        return block;
    }

    static void release(void* block) {
        if (log().held.erase(block) == 0) {
            ADD_FAILURE() << "the module gave back a block it never took";
            return;
        }
        std::free(block);
    }
};

#endif
