#include "CoreCalls.h"

#include "acquisition/HostSession.h"

#include <pthread.h>
#include <string>
#include <unistd.h>

namespace {

std::mutex lock;
const pid_t owner = getpid();
// Set in a forked child before it runs anything else; asking getpid() on
// every call would cost a system call each.
bool forkedChild = false;

void lockBeforeFork() { lock.lock(); }
void unlockAfterFork() { lock.unlock(); }
void unlockInChild() {
    forkedChild = true;
    lock.unlock();
}

}  // namespace

std::mutex& coreLock() { return lock; }

void enterCore() {
    if (forkedChild)
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

void guardForks() { pthread_atfork(lockBeforeFork, unlockAfterFork, unlockInChild); }
