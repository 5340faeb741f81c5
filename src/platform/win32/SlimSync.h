// A lock and a condition of the system's slim kind, for threads of one
// process that hand work to each other often. The standard library's mutex
// and condition variable of this build come from its POSIX threads layer,
// which waits and wakes through event objects: a call to the system (under
// Wine, a round trip to the server) for every hand-off. A slim lock is taken
// and a slim condition woken in user space unless a thread must sleep.
// Neither owns a resource of the system: nothing is closed.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

// Lockable as std::unique_lock and std::lock_guard expect.
class SlimLock {
public:
    SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    void lock() { ::AcquireSRWLockExclusive(&lock_); }
    void unlock() { ::ReleaseSRWLockExclusive(&lock_); }

private:
    friend class SlimCondition;
    SRWLOCK lock_ = SRWLOCK_INIT;
};

class SlimCondition {
public:
    SlimCondition() = default;
    SlimCondition(const SlimCondition&) = delete;
    SlimCondition& operator=(const SlimCondition&) = delete;

    // Sleeps, with the lock held by the caller let go meanwhile, until
    // ready() holds.
    template <typename Ready>
    void Wait(SlimLock& held, Ready ready) {
        while (!ready()) ::SleepConditionVariableSRW(&condition_, &held.lock_, INFINITE, 0);
    }
    void WakeOne() { ::WakeConditionVariable(&condition_); }
    void WakeAll() { ::WakeAllConditionVariable(&condition_); }

private:
    CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

}  // namespace bastion::win32
