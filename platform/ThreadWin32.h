// A lock and a thread for the few places that work side by side: the 32-bit build's thread
// model has neither std::mutex nor std::thread.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/Win32Handles.h"

namespace platform {

class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { ::DeleteCriticalSection(&m_section); }
    void Enter() { ::EnterCriticalSection(&m_section); }
    void Leave() { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class Locked {
public:
    explicit Locked(CriticalSection& section) : m_section(section) { m_section.Enter(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() { m_section.Leave(); }

private:
    CriticalSection& m_section;
};

// Starts `work` on a new thread; the handle is signalled when it has ended. A null handle
// when no thread could be started: the work has then not run.
UniqueKernelHandle StartThread(std::function<void()> work);

// Ends the process with `exitCode` once its files are written. A thread that StartThread began
// and that still runs (a log-on or a request given up at its deadline) may hold a lock that
// the C runtime's exit or a library's unload code would wait for for ever: the process then
// ends without running either.
[[noreturn]] void EndProcess(int exitCode);

}  // namespace platform
