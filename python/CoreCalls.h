// How every Python call reaches the core: one call in the core at a time,
// from whichever Python thread. The GIL is given up before the core lock
// is taken and asked for again only after it is let go, so a call waiting
// on the camera holds up no other Python thread and no lock order can
// deadlock. After a fork the child's calls are refused: the cameras, the
// driver's threads and its memory are the parent's.
#ifndef QUORVEL_PYTHON_CORECALLS_H
#define QUORVEL_PYTHON_CORECALLS_H

#include <pybind11/pybind11.h>

#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

// A call from a process forked off the one that loaded the driver.
struct ForkedProcessError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The driver did not load.
struct DriverLoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::mutex& coreLock();

// Throws ForkedProcessError in a forked child; loads the driver on first
// use (DriverLoadError when it does not load). Call with the core lock held.
void enterCore();

// Runs work() without the GIL and takes it back in the code's own flow,
// not in a destructor: a thread that asks for the GIL while the
// interpreter ends is ended there (pthread_exit unwinds it), and that
// unwinding may pass no destructor, or the process aborts.
template <typename Work>
auto withoutGil(Work work) {
    std::optional<decltype(work())> result;
    std::exception_ptr failure;
    PyThreadState* state = PyEval_SaveThread();
    try {
        result.emplace(work());
    } catch (...) {
        failure = std::current_exception();
    }
    PyEval_RestoreThread(state);
    if (failure) std::rethrow_exception(failure);
    return std::move(*result);
}

// Runs work() in the core, without the GIL.
template <typename Work>
auto inCore(Work work) {
    return withoutGil([&] {
        std::lock_guard<std::mutex> held(coreLock());
        enterCore();
        return work();
    });
}

// The core's entry for the simulator's control (quorvel._sim), handed over
// in a capsule: runs run(context) as inCore does; answers why the core
// refused to (a forked process, a driver that did not load), or nothing.
using CoreEntry = std::string (*)(void (*run)(void*), void* context);
std::string runInCore(void (*run)(void*), void* context);

// Takes the core lock around fork() so that no other thread holds it in
// the child; marks the child's calls to be refused.
void guardForks();

#endif
