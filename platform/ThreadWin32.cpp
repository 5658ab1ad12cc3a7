#include "platform/ThreadWin32.h"

#include <memory>

namespace platform {
namespace {

DWORD WINAPI RunWork(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(
        static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

}  // namespace

UniqueKernelHandle StartThread(std::function<void()> work) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, &RunWork, owned.get(), 0, nullptr));
    if (thread) owned.release();  // the thread owns it now
    return thread;
}

}  // namespace platform
