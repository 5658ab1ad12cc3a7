#include "platform/ThreadWin32.h"

#include <memory>

namespace platform {
namespace {

// Threads begun by StartThread whose work has not returned yet.
LONG g_running = 0;

DWORD WINAPI RunWork(void* parameter) {
    {
        const std::unique_ptr<std::function<void()>> work(
            static_cast<std::function<void()>*>(parameter));
        (*work)();
    }
    ::InterlockedDecrement(&g_running);
    return 0;
}

}  // namespace

UniqueKernelHandle StartThread(std::function<void()> work) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    ::InterlockedIncrement(&g_running);
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, &RunWork, owned.get(), 0, nullptr));
    if (thread) {
        owned.release();  // the thread owns it now
    } else {
        ::InterlockedDecrement(&g_running);
    }
    return thread;
}

void EndProcess(int exitCode) {
    if (::InterlockedCompareExchange(&g_running, 0, 0) != 0) {
        ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(exitCode));
    }
    ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace platform
