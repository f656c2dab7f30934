#include "ConversionHelper.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct SharedWork {
    void (*part)(void*, uint32_t);
    void* context;
    uint32_t parts;
    std::atomic<uint32_t> next{0};
};

void runParts(SharedWork& work) {
    for (uint32_t index; (index = work.next.fetch_add(1, std::memory_order_relaxed)) < work.parts;)
        work.part(work.context, index);
}

void serve();

struct Helper {
    std::mutex lock;
    std::condition_variable wake;      // work or the stop for the helper
    std::condition_variable finished;  // the helper left the work
    std::thread thread;
    SharedWork* open = nullptr;  // work the helper may still join
    bool working = false;        // the helper is running parts
    bool stopping = false;

    // Under the lock: the helper's thread, started if need be; false when
    // none can be had.
    bool started() {
        if (thread.joinable()) return true;
        try {
            thread = std::thread(serve);
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    ~Helper() { stopConversionHelper(); }  // a program that never unloads the module
};

Helper helper;

void serve() {
    std::unique_lock<std::mutex> held(helper.lock);
    for (;;) {
        helper.wake.wait(held, [] { return helper.open != nullptr || helper.stopping; });
        if (helper.open == nullptr) return;  // stopping
        SharedWork* work = helper.open;
        helper.open = nullptr;
        helper.working = true;
        held.unlock();
        runParts(*work);
        held.lock();
        helper.working = false;
        helper.finished.notify_one();
    }
}

}  // namespace

void runOnBothThreads(void (*part)(void*, uint32_t), void* context, uint32_t parts) {
    SharedWork work{part, context, parts};
    {
        std::lock_guard<std::mutex> held(helper.lock);
        if (helper.started()) {
            helper.open = &work;
            helper.wake.notify_one();
        }
    }
    runParts(work);
    std::unique_lock<std::mutex> held(helper.lock);
    helper.open = nullptr;  // too late to join: every part is taken
    helper.finished.wait(held, [] { return !helper.working; });
}

void stopConversionHelper() {
    {
        std::lock_guard<std::mutex> held(helper.lock);
        if (!helper.thread.joinable()) return;
        helper.stopping = true;
        helper.wake.notify_one();
    }
    helper.thread.join();
    std::lock_guard<std::mutex> held(helper.lock);
    helper.thread = std::thread();
    helper.stopping = false;
}
