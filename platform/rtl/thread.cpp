#include "thread.h"

#include <windows.h>

#include <memory>

#include "sysutils.h"

namespace rtl {

namespace {

DWORD WINAPI ThreadProc(void* param)
{
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(param));
    try {
        (*work)();
    } catch (...) {
        // No exception crosses into the system.
    }
    return 0;
}

}  // namespace

KernelHandle StartThread(std::function<void()> work)
{
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    KernelHandle thread(CreateThread(nullptr, 0, ThreadProc, owned.get(), 0, nullptr));
    if (!thread) RaiseLastOSError();
    owned.release();  // the thread frees it
    return thread;
}

}  // namespace rtl
