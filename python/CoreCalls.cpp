#include "CoreCalls.h"

#include "acquisition/HostSession.h"

#include <pthread.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

std::mutex lock;
// The process that loaded the module. A fork that runs no handlers (glibc's
// _Fork, a raw clone) makes a child too, so no fork handler can mark one.
const pid_t owner = getpid();

// A page the kernel hands every forked child zeroed, however the child was
// made: reading it tells a child without the system call getpid() costs.
// Where the kernel cannot wipe a page on fork, getpid() tells.
const volatile unsigned char* makeForkMark() {
    const size_t bytes = size_t(sysconf(_SC_PAGESIZE));
    void* page = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return nullptr;
    if (madvise(page, bytes, MADV_WIPEONFORK) != 0) {
        munmap(page, bytes);
        return nullptr;
    }
    *static_cast<unsigned char*>(page) = 1;
    return static_cast<const volatile unsigned char*>(page);
}

const volatile unsigned char* const forkMark = makeForkMark();

bool inForkedChild() { return forkMark != nullptr ? *forkMark == 0 : getpid() != owner; }

void lockBeforeFork() { lock.lock(); }
void unlockAfterFork() { lock.unlock(); }

}  // namespace

std::mutex& coreLock() { return lock; }

void enterCore() {
    if (inForkedChild())
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
