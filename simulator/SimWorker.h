// A simulator thread: runs its body on its own thread, paces it in ticks,
// and stops on an atomic flag. Joined by whoever owns it, never with the
// simulator's lock held, since the body takes that lock. Always made with
// std::make_shared: the running thread holds a reference of its own, so
// that a body which stops itself through a driver call (and so drops its
// owner's reference) never runs on a freed worker.
#ifndef QUORVEL_SIMULATOR_SIMWORKER_H
#define QUORVEL_SIMULATOR_SIMWORKER_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class SimWorker : public std::enable_shared_from_this<SimWorker> {
public:
    // ticksPerSecond 0: ticks follow each other without a pause.
    explicit SimWorker(uint32_t ticksPerSecond);
    ~SimWorker();  // stops and joins
    SimWorker(const SimWorker&) = delete;
    SimWorker& operator=(const SimWorker&) = delete;

    void start(std::function<void(SimWorker&)> body);

    // Waits for the next tick; false once a stop has been requested. For the
    // body's own thread.
    bool nextTick();
    bool stopRequested() const { return stop_.load(); }
    void requestStop() { stop_.store(true); }
    // Waits until the body has returned. Called on the worker's own thread
    // (the body stopping itself through a driver call) it detaches instead;
    // the thread's own reference then keeps the worker until the body ends.
    void join();

private:
    std::atomic<bool> stop_{false};
    std::chrono::steady_clock::duration period_;
    std::chrono::steady_clock::time_point nextTick_;
    std::thread thread_;
};

using SimWorkers = std::vector<std::shared_ptr<SimWorker>>;

// Joins the workers with the lock released and takes it again: whatever the
// caller found before must be looked up afresh.
void simJoinWorkers(std::unique_lock<std::mutex>& lock, SimWorkers& workers);

#endif
