// The PC as Windows describes it. The registry and module versions come from their shared
// Windows readers; every probe's own questions are answered in <Probe>Win32.cpp beside it.
#pragma once

#include <windows.h>

#include "platform/RegistryWin32.h"
#include "platform/Win32Handles.h"
#include "probes/Pc.h"
#include "probes/software/ModuleVersionWin32.h"

// WinINet's handles (HINTERNET), closed with its InternetCloseHandle.
struct InternetHandleTraits {
    static void* Invalid() { return nullptr; }
    static void Close(void* handle);
};
using UniqueInternetHandle = platform::UniqueHandle<void*, InternetHandleTraits>;

class PcWin32 final : public Pc,
                      private platform::RegistryWin32,
                      private ModuleVersionSourceWin32 {
public:
    // `owner` (may be null) is disabled during the MAPI log-on, then enabled and focused.
    explicit PcWin32(HWND owner) : m_hOwner(owner) {}
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

    // HttpClient, over WinINet with the system's proxy settings
    void Close() override;
    bool Split(const std::string& url, UrlParts& parts) override;
    bool Open(const std::string& userAgent) override;
    bool Connect(const std::string& host, std::uint16_t port) override;
    bool OpenRequest(const std::string& verb, const std::string& path,
                     std::uint32_t flags) override;
    bool Send(std::uint32_t& error) override;
    bool QueryStatus(std::uint32_t& status) override;
    bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) override;
    std::uint32_t TickCount() override { return ::GetTickCount(); }

    // OutlookSource
    void DisableOwner() override;
    void EnableAndFocusOwner() override;
    std::unique_ptr<MapiLibrary> LoadMapi() override;
    std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                           std::size_t size) const override;
    std::uint16_t ProgramMachineType() const override;

    // NotesSource
    std::string ReadLibraryString(const std::string& libraryPath, unsigned id,
                                  std::size_t maxChars) const override;

private:
    HWND m_hOwner;
    // Declared parent first, so that they close child first.
    UniqueInternetHandle m_hSession;
    UniqueInternetHandle m_hConnection;
    UniqueInternetHandle m_hRequest;
};
