#include "SimWorker.h"

#include <algorithm>

namespace {

// Longest single sleep, so that a stop is seen promptly at low rates.
constexpr std::chrono::milliseconds kStopPollInterval{2};

}  // namespace

SimWorker::SimWorker(uint32_t ticksPerSecond)
    : period_(ticksPerSecond == 0 ? std::chrono::steady_clock::duration::zero()
                                  : std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                        std::chrono::duration<double>(1.0 / ticksPerSecond))) {}

SimWorker::~SimWorker() {
    requestStop();
    join();
}

void SimWorker::start(std::function<void(SimWorker&)> body) {
    nextTick_ = std::chrono::steady_clock::now() + period_;
    thread_ = std::thread([self = shared_from_this(), body = std::move(body)] { body(*self); });
}

bool SimWorker::nextTick() {
    using Clock = std::chrono::steady_clock;
    for (Clock::time_point now = Clock::now(); now < nextTick_; now = Clock::now()) {
        if (stopRequested()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(nextTick_ - now, kStopPollInterval));
    }
    // A body that falls behind goes on from now rather than catching up.
    nextTick_ = std::max(nextTick_ + period_, Clock::now());
    return !stopRequested();
}

void SimWorker::join() {
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
        return;
    }
    thread_.join();
}

void simJoinWorkers(std::unique_lock<std::mutex>& lock, SimWorkers& workers) {
    if (workers.empty()) return;
    lock.unlock();
    for (auto& worker : workers) worker->join();
    workers.clear();
    lock.lock();
}
