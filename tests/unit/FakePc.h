// A PC described by plain data, for the portable logic. Its defaults describe a healthy PC on
// which every item passes; a test changes only what its case is about. Clocks are virtual:
// Sleep and the busy waits move time forward, nothing waits.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "probes/Pc.h"

class FakePc final : public Pc {
public:
    // --- registry: "HKLM\<key>" for a key, "HKLM\<key>|<value>" for a value ---
    std::map<std::string, std::string> registry;
    std::map<std::string, std::uint32_t> dwords;

    // --- module versions ---
    std::map<std::string, ModuleVersion> dllVersions = {{"shlwapi.dll", Version(6, 0, 2900)}};
    std::map<std::string, std::string> fileVersions;  // path -> FileVersion text
    mutable std::vector<std::string> versionPaths;    // every path whose resource was read

    // --- hardware ---
    std::uint64_t memoryBytes = 512ull << 20;
    std::optional<DiskCapacity> driveC = DiskCapacity{40007729152ull, 12500000000ull};
    bool hasCpuid = true;
    std::map<std::uint32_t, CpuidResult> cpuid;  // set by SetProcessor
    std::optional<std::int64_t> counterFrequency = 3579545;
    std::uint32_t cyclesPerMicrosecond = 2394;
    std::int64_t microseconds = 0;         // the virtual time
    std::int64_t oversleepMicroseconds = 0;  // added to every Sleep, as by a hibernation
    std::uint32_t millisecondClockBase = 0;
    std::uint64_t timeStampBase = 0;
    std::uint32_t priorityClass = 0x20;
    std::vector<std::uint32_t> priorities;  // every class set, in order

    // --- operating system ---
    OsVersionRecord os = {VersionRecordKind::Extended, 5, 1, 2600, kPlatformWin32NT,
                          "Service Pack 2", 0, kProductWorkstation};

    // --- browser zones: the policy of each action in turn; empty: no zone managers ---
    std::optional<std::vector<std::optional<std::uint32_t>>> actionPolicies =
        std::vector<std::optional<std::uint32_t>>{0, 1, 0};

    // --- accounts and services ---
    std::vector<TokenGroup> tokenGroups = {{false, kTokenGroupEnabled}, {true, kTokenGroupEnabled}};
    std::string domain = "FIRMA";
    std::set<std::string> services;  // key names as installed

    // --- HTTP: every URL answers 200 with an empty body unless listed ---
    struct HttpAnswer {
        enum Step { None, Split, Open, Connect, OpenRequest, Send, Status } failsAt = None;
        std::uint32_t error = 0;
        std::uint32_t status = 200;
        int bodyReads = 0;             // reads that return data before the end of the body
        std::int64_t readMicroseconds = 0;  // how long each read takes
    };
    std::map<std::string, HttpAnswer> http;
    std::vector<std::string> httpLog;  // "close", "split <url>", ..., "read"

    // --- MAPI: empty when the library does not load ---
    struct Mapi {
        std::optional<std::int32_t> initialize = 0;  // empty: no such entry point
        std::optional<std::int32_t> logon = 0;
        bool hasUninitialize = true;
    };
    std::optional<Mapi> mapi = Mapi();
    std::vector<std::string> mapiLog;  // owner and library events, in order
    std::map<std::string, std::vector<std::uint8_t>> fileStarts;  // path -> its first bytes
    std::uint16_t programMachine = kMachineX64;

    // --- string tables: "<library path>#<id>" -> string ---
    std::map<std::string, std::string> libraryStrings;

    static ModuleVersion Version(std::int32_t major, std::int32_t minor, std::int32_t build) {
        ModuleVersion version;
        version.major = major;
        version.minor = minor;
        version.build = build;
        version.found = true;
        return version;
    }
    // Vendor, family and brand string as CPUID reports them; an empty brand gives none.
    void SetProcessor(const std::string& vendor, std::uint32_t family, const std::string& brand);

    FakePc() { SetProcessor("GenuineIntel", 6, "Intel(R) Pentium(R) M processor 1.60GHz"); }

    // RegistryReader
    bool KeyExists(platform::RegistryRoot root, const std::string& subkey) const override;
    std::optional<std::string> ReadString(platform::RegistryRoot root, const std::string& subkey,
                                          const std::string& name,
                                          std::size_t maxBytes) const override;
    std::optional<std::uint32_t> ReadDword(platform::RegistryRoot root, const std::string& subkey,
                                           const std::string& name) const override;
    // ModuleVersionSource
    bool QueryDllGetVersion(const std::string& fileName, ModuleVersion& version) const override;
    std::optional<std::string> QueryFileVersionString(const std::string& path) const override;
    std::string WindowsDirectory() const override { return "C:\\WINDOWS"; }
    std::string SystemDirectory() const override { return "C:\\WINDOWS\\system32"; }
    // HardwareSource
    std::uint64_t TotalPhysicalMemory() override { return memoryBytes; }
    std::optional<DiskCapacity> QueryDriveC() override { return driveC; }
    bool CanToggleCpuidFlag() override { return hasCpuid; }
    CpuidResult Cpuid(std::uint32_t leaf) override { return cpuid[leaf]; }
    std::uint32_t ReadTimeStampLow() override;
    std::optional<std::int64_t> PerformanceFrequency() override { return counterFrequency; }
    std::int64_t PerformanceCount() override;
    void Sleep(std::uint32_t milliseconds) override {
        microseconds += milliseconds * 1000ll + oversleepMicroseconds;
    }
    std::uint32_t MillisecondClock() override;
    std::uint32_t GetPriorityClass() override { return priorityClass; }
    void SetPriorityClass(std::uint32_t value) override;
    // OsSource
    OsVersionRecord ReadOsVersionRecord() const override { return os; }
    // IeSource
    std::optional<std::vector<std::optional<std::uint32_t>>> ReadActionPolicies(
        const std::string&, const std::vector<std::uint32_t>&) override {
        return actionPolicies;
    }
    // AccountsSource
    std::vector<TokenGroup> ReadTokenGroups() override { return tokenGroups; }
    std::string GetPrimaryDomainName() override { return domain; }
    // ServiceCatalog
    bool ServiceExists(const std::string& keyName) const override;
    bool AnyServiceNameStartsWith(const std::string& prefix) const override;
    // HttpClient
    void Close() override { httpLog.push_back("close"); }
    bool Split(const std::string& url, UrlParts& parts) override;
    bool Open(const std::string& userAgent) override;
    bool Connect(const std::string& host, std::uint16_t port) override;
    bool OpenRequest(const std::string& verb, const std::string& path,
                     std::uint32_t flags) override;
    bool Send(std::uint32_t& error) override;
    bool QueryStatus(std::uint32_t& status) override;
    bool Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) override;
    std::uint32_t TickCount() override { return static_cast<std::uint32_t>(microseconds / 1000); }
    // OutlookSource
    void DisableOwner() override { mapiLog.push_back("disable owner"); }
    void EnableAndFocusOwner() override { mapiLog.push_back("enable and focus owner"); }
    std::unique_ptr<MapiLibrary> LoadMapi() override;
    std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                           std::size_t) const override {
        if (!fileStarts.count(path)) return std::nullopt;
        return fileStarts.at(path);
    }
    std::uint16_t ProgramMachineType() const override { return programMachine; }
    // NotesSource
    std::string ReadLibraryString(const std::string& libraryPath, unsigned id,
                                  std::size_t maxChars) const override;

private:
    HttpAnswer m_current;
    int m_readsLeft = 0;
};
