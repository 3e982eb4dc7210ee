// Worker threads started straight through CreateThread: MinGW's std::thread
// (winpthreads) now and then lost or crashed a freshly started thread that
// was detached at once under Wine.
#pragma once

#include <functional>

#include "handles.h"

namespace rtl {

// Runs work on a new thread. The returned handle may be waited on, or dropped
// to let the thread run on by itself. work must catch what it raises; what
// escapes is swallowed there, never passed to the system. Raises EOSError
// when no thread can be started.
KernelHandle StartThread(std::function<void()> work);

// A lock for std::lock_guard, on the system's slim reader/writer lock: unlike
// std::mutex it cannot fail, so it needs none of the standard library's
// error paths (see stdfaults.cpp).
class TLock {
public:
    TLock() = default;
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;

    void lock() noexcept { AcquireSRWLockExclusive(&lock_); }
    void unlock() noexcept { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace rtl
