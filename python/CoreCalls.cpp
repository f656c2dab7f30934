#include "CoreCalls.h"

#include "acquisition/HostSession.h"

#include <pthread.h>
#include <string>
#include <unistd.h>

namespace {

std::mutex lock;
// The process that loaded the module. A child is known by its own id, not
// by a mark a fork handler sets: a fork that runs no handlers (glibc's
// _Fork, a raw clone) makes a child too.
const pid_t owner = getpid();

void lockBeforeFork() { lock.lock(); }
void unlockAfterFork() { lock.unlock(); }

}  // namespace

std::mutex& coreLock() { return lock; }

void enterCore() {
    if (getpid() != owner)
        throw ForkedProcessError("quorvel: this process was forked from process " + std::to_string(owner) +
                                 ", whose cameras and driver it cannot use; use the cameras from one process");
    if (!loadDriverOnce()) throw DriverLoadError("quorvel: the camera driver QuorvelDrv did not load");
}

std::string runInCore(void (*run)(void*), void* context) {
    try {
        inCore([&] {
            run(context);
            return true;
        });
    } catch (const std::runtime_error& refused) {
        return refused.what();
    }
    return {};
}

void guardForks() { pthread_atfork(lockBeforeFork, unlockAfterFork, unlockAfterFork); }
