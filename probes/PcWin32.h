// The PC as Windows describes it. The registry and module versions come from their shared
// Windows readers; every probe's own questions are answered in <Probe>Win32.cpp beside it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/RegistryWin32.h"
#include "platform/ThreadWin32.h"
#include "platform/Win32Handles.h"
#include "probes/Pc.h"
#include "probes/software/ModuleVersionWin32.h"

// The WinINet handles (HINTERNET) of one request, shared by the thread that makes the request
// and any thread that aborts it: closing a handle ends the call that blocks on it.
class RequestHandles {
public:
    enum Slot { Request, Connection, Session };  // children before their parents

    // Takes `handle` into `slot`; false when it is null or the request was aborted meanwhile
    // (it is closed then).
    bool Keep(Slot slot, void* handle);
    void* Get(Slot slot);
    void Close();
    // Closes every handle, so that the blocking call returns and no further step starts.
    void Abort(bool timedOut);
    bool Aborted();
    bool TimedOut();

private:
    void CloseAllLocked();  // with m_lock held

    platform::CriticalSection m_lock;
    void* m_handles[3] = {};
    bool m_aborted = false;
    bool m_timedOut = false;
};

class PcWin32 final : public Pc, private platform::RegistryWin32, private ModuleVersionSourceWin32 {
public:
    // `setOwnerEnabled` (may be empty) disables the window that owns the MAPI log-on before
    // it and enables and focuses it again afterwards; it is called on the run's thread.
    explicit PcWin32(std::function<void(bool)> setOwnerEnabled = {})
        : m_setOwnerEnabled(std::move(setOwnerEnabled)) {}
    PcWin32(const PcWin32&) = delete;
    PcWin32& operator=(const PcWin32&) = delete;

    // HardwareSource
    std::uint64_t TotalPhysicalMemory() override;
    std::optional<DiskCapacity> QueryDriveC() override;
    bool CanToggleCpuidFlag() override;
    CpuidResult Cpuid(std::uint32_t leaf) override;
    std::uint32_t ReadTimeStampLow() override;
    std::optional<std::int64_t> PerformanceFrequency() override;
    std::int64_t PerformanceCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t MillisecondClock() override;
    std::uint32_t GetPriorityClass() override;
    void SetPriorityClass(std::uint32_t priorityClass) override;

    // OsSource
    OsVersionRecord ReadOsVersionRecord() const override;

    // IeSource
    std::optional<std::vector<std::optional<std::uint32_t>>> ReadActionPolicies(
        const std::string& url, const std::vector<std::uint32_t>& actions) override;

    // AccountsSource
    std::vector<TokenGroup> ReadTokenGroups() override;
    std::string GetPrimaryDomainName() override;

    // ServiceCatalog
    bool ServiceExists(const std::string& keyName) const override;
    bool AnyServiceNameStartsWith(const std::string& prefix) const override;

    // NetworkSource: WinINet with the system's proxy settings, each job on a thread of its own
    std::unique_ptr<HttpClient> NewHttpClient() override;
    std::unique_ptr<SideBySideJobs> StartSideBySide(const std::vector<std::function<void()>>& jobs,
                                                    std::uint32_t deadlineMilliseconds) override;
    // Waits for requests that StartSideBySide started at `start` (a tick count), as
    // SideBySideJobs::Wait describes.
    std::vector<bool> WaitSideBySide(const std::vector<platform::UniqueKernelHandle>& threads,
                                     DWORD start, DWORD deadlineMilliseconds);

    // OutlookSource
    void DisableOwner() override;
    void EnableAndFocusOwner() override;
    std::unique_ptr<MapiLibrary> LoadMapi() override;
    bool RunMapiSession(std::function<void()> session, std::uint32_t deadlineMilliseconds) override;
    std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                           std::size_t size) const override;
    std::uint16_t ProgramMachineType() const override;

    // NotesSource
    std::string ReadLibraryString(const std::string& libraryPath, unsigned id,
                                  std::size_t maxChars) const override;

    // From any thread: aborts the requests under way and ends the wait for them.
    void Cancel();

private:
    void AbortRequests(bool timedOut);

    std::function<void(bool)> m_setOwnerEnabled;
    platform::UniqueKernelHandle m_cancelled{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    platform::CriticalSection m_requestsLock;
    std::vector<std::shared_ptr<RequestHandles>> m_requests;
};
