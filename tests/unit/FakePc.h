// A PC as plain data, healthy by default: a test changes only what its case is about. Clocks
// are virtual: nothing waits.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "platform/Text.h"
#include "probes/Pc.h"

class FakePc final : public Pc {
public:
    using Root = platform::RegistryRoot;
    using Policies = std::vector<std::optional<std::uint32_t>>;

    // "HKLM\<key>|<value>" -> data (a DWORD in decimal). MS Outlook is registered for the PC,
    // which the merged classes of HKCR show too; Lotus Notes is C:\Notes\notes.exe, of no version.
    std::map<std::string, std::string> registry = {
        {"HKLM\\SOFTWARE\\Lotus\\Notes|Path", "C:\\Notes\\"},
        {"HKLM\\SOFTWARE\\Lotus\\Notes|Name", "notes.exe"},
        {"HKLM\\SOFTWARE\\Classes\\Outlook.Application\\CLSID|", "{0006F03A}"},
        {"HKLM\\SOFTWARE\\Classes\\CLSID\\{0006F03A}\\LocalServer32|", "C:\\Office\\outlook.exe"},
        {"HKCR\\Outlook.Application\\CLSID|", "{0006F03A}"},
        {"HKCR\\CLSID\\{0006F03A}\\LocalServer32|", "C:\\Office\\outlook.exe"},
    };
    // What each version export answers.
    std::map<std::string, Version> dllVersions = {
        {"shlwapi.dll", {6, 0, 2900}},
        {"C:\\OFFICE\\OUTLLIB.DLL", {11, 0, 5510}},
    };
    std::map<std::string, std::string> fileVersions;  // path -> FileVersion text
    mutable std::vector<std::string> versionPaths;    // every path whose resource was read
    std::set<std::string> writableByUsers;            // files and folders

    std::uint64_t memoryBytes = 512ull << 20;
    std::optional<DiskCapacity> driveC = DiskCapacity{40007729152ull, 12500000000ull};
    // CPUID: no vendor, no basic leaves; no brand, none of its leaves.
    bool hasCpuid = true;
    std::string vendor = "GenuineIntel";
    std::string brand = "Intel(R) Pentium(R) M processor 1.60GHz";
    std::uint32_t family = 6;
    std::optional<std::int64_t> counterFrequency = 3579545;
    std::uint32_t cyclesPerMicrosecond = 2394;
    std::int64_t microseconds = 0;  // the virtual time
    std::uint64_t timeStampBase = 0;
    std::uint32_t priorityClass = 0x20;
    std::vector<std::uint32_t> priorities;  // every class set, in order

    OsVersionRecord os = {
        VersionRecordKind::Extended, 5, 1, 2600, kPlatformWin32NT, "Service Pack 2", 0,
        kProductWorkstation};
    std::optional<Policies> actionPolicies = Policies{0, 1, 0};  // empty: no zone managers
    std::vector<TokenGroup> tokenGroups = {{false, kTokenGroupEnabled}, {true, kTokenGroupEnabled}};
    std::string domain = "FIRMA";
    std::set<std::string> services;  // key names as installed

    // Every URL answers 200 with an empty body unless listed.
    struct HttpAnswer {
        enum Step { None, Split, Open, Connect, OpenRequest, Send, Status } failsAt = None;
        std::uint32_t error = 0;
        std::uint32_t status = 200;
        bool trickles = false;  // the body comes a byte a second, for ever
    };
    std::map<std::string, HttpAnswer> http;
    bool httpOpened = false;
    std::vector<std::uint32_t> requestFlags;  // of each request, in order
    std::size_t givenUpJobs = 0;              // the last jobs, reported as not ended

    // MAPI entry points: empty when the library lacks it; no Mapi: no library.
    struct Mapi {
        std::optional<std::int32_t> initialize = 0;
        std::optional<std::int32_t> logon = 0;
        bool hasUninitialize = true;
    };
    std::optional<Mapi> mapi = Mapi();
    std::vector<std::string> mapiLog;                   // owner and library events, in order
    bool mapiSessionGivenUp = false;                    // the session outlives its deadline
    std::map<std::string, std::string> libraryStrings;  // "<library path>#<id>" -> text
    std::map<std::string, std::vector<std::uint8_t>> fileStarts;  // path -> its first bytes

    bool KeyExists(Root root, const std::string& subkey) const override {
        const std::string key = Path(root, subkey) + "|";
        return std::any_of(registry.begin(), registry.end(),
                           [&](const auto& entry) { return entry.first.rfind(key, 0) == 0; });
    }
    std::optional<std::string> ReadString(Root root, const std::string& subkey,
                                          const std::string& name,
                                          std::size_t maxBytes) const override {
        const auto data = Find(registry, Path(root, subkey) + "|" + name);
        // The stored data ends with a zero byte, which has to fit as well.
        return data && data->size() < maxBytes ? data : std::nullopt;
    }
    std::optional<std::uint32_t> ReadDword(Root root, const std::string& subkey,
                                           const std::string& name) const override {
        const auto text = ReadString(root, subkey, name, 16);
        return text ? std::optional<std::uint32_t>(std::stoul(*text)) : std::nullopt;
    }
    bool QueryDllGetVersion(const std::string& fileName, ModuleVersion& version) const override {
        const auto found = Find(dllVersions, fileName);
        if (found) static_cast<Version&>(version) = *found;
        return found.has_value();
    }
    std::optional<std::string> QueryFileVersionString(const std::string& path) const override {
        versionPaths.push_back(path);
        return Find(fileVersions, path);
    }
    std::string WindowsDirectory() const override { return "C:\\WINDOWS"; }
    std::string SystemDirectory() const override { return "C:\\WINDOWS\\system32"; }
    // Every name owned by Administrators; those in `writableByUsers` let Everyone write.
    platform::PathFacts ReadPathFacts(const std::string& path) const override {
        platform::PathFacts facts{.fixedDrive = true};
        for (const std::string& name : platform::TrustChain(path)) {
            platform::SecurityFacts security{.owner = "S-1-5-32-544", .dacl = {{}}};
            if (writableByUsers.count(name))
                security.dacl->push_back({.mask = 0x2, .sid = "S-1-1-0"});
            facts.components.push_back({.security = security});
        }
        return facts;
    }
    std::uint64_t TotalPhysicalMemory() override { return memoryBytes; }
    std::optional<DiskCapacity> QueryDriveC() override { return driveC; }
    bool CanToggleCpuidFlag() override { return hasCpuid; }
    CpuidResult Cpuid(std::uint32_t leaf) override {
        const std::string id = vendor + std::string(16, '\0');
        const std::string name = brand + std::string(48, '\0');
        if (leaf == 0) return {vendor.empty() ? 0u : 1u, Word(id, 0), Word(id, 8), Word(id, 4)};
        if (leaf == 1) return {family << 8, 0, 0, 0};
        if (leaf == 0x80000000) return {brand.empty() ? 0x80000001u : 0x80000004u, 0, 0, 0};
        const std::size_t at = (leaf - 0x80000002) * 16;  // the brand's leaves
        return {Word(name, at), Word(name, at + 4), Word(name, at + 8), Word(name, at + 12)};
    }
    std::uint32_t ReadTimeStampLow() override {
        return static_cast<std::uint32_t>(timeStampBase + microseconds * cyclesPerMicrosecond);
    }
    std::optional<std::int64_t> PerformanceFrequency() override { return counterFrequency; }
    std::int64_t PerformanceCount() override {
        return microseconds * counterFrequency.value_or(0) / 1000000;
    }
    void Sleep(std::uint32_t milliseconds) override { microseconds += milliseconds * 1000ll; }
    std::uint32_t MillisecondClock() override {
        microseconds += 250;  // each look at the clock takes a while
        return static_cast<std::uint32_t>(microseconds / 1000);
    }
    std::uint32_t GetPriorityClass() override { return priorityClass; }
    void SetPriorityClass(std::uint32_t value) override {
        priorityClass = value;
        priorities.push_back(value);
    }
    OsVersionRecord ReadOsVersionRecord() const override { return os; }
    std::optional<Policies> ReadActionPolicies(const std::string&,
                                               const std::vector<std::uint32_t>&) override {
        return actionPolicies;
    }
    std::vector<TokenGroup> ReadTokenGroups() override { return tokenGroups; }
    std::string GetPrimaryDomainName() override { return domain; }
    // The service manager ignores the case of key names.
    bool ServiceExists(const std::string& keyName) const override {
        return std::any_of(services.begin(), services.end(), [&](const std::string& name) {
            return platform::EqualsIgnoringAsciiCase(name, keyName);
        });
    }
    bool AnyServiceNameStartsWith(const std::string& prefix) const override {
        return std::any_of(services.begin(), services.end(), [&](const std::string& name) {
            return platform::EqualsIgnoringAsciiCase(name.substr(0, prefix.size()), prefix);
        });
    }
    std::unique_ptr<HttpClient> NewHttpClient() override { return std::make_unique<Client>(*this); }
    std::unique_ptr<SideBySideJobs> StartSideBySide(const std::vector<std::function<void()>>& jobs,
                                                    std::uint32_t) override {
        return std::make_unique<Jobs>(jobs, givenUpJobs);
    }
    void DisableOwner() override { mapiLog.push_back("disable owner"); }
    void EnableAndFocusOwner() override { mapiLog.push_back("enable and focus owner"); }
    std::unique_ptr<MapiLibrary> LoadMapi() override {
        return mapi ? std::make_unique<Library>(*mapi, mapiLog) : nullptr;
    }
    std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path,
                                                           std::size_t) const override {
        return Find(fileStarts, path);
    }
    bool RunMapiSession(std::function<void()> session, std::uint32_t) override {
        mapiLog.push_back("session");
        if (mapiSessionGivenUp) {
            m_givenUpSession = std::move(session);  // still running: it keeps what it holds
            return false;
        }
        session();
        mapiLog.push_back("session ended");
        return true;
    }
    std::uint16_t ProgramMachineType() const override { return kMachineX64; }
    std::string ReadLibraryString(const std::string& libraryPath, unsigned id,
                                  std::size_t maxChars) const override {
        const auto text = Find(libraryStrings, libraryPath + "#" + std::to_string(id));
        return text.value_or("").substr(0, maxChars - 1);
    }

private:
    // Runs the jobs one after the other when waited for.
    class Jobs final : public SideBySideJobs {
    public:
        Jobs(std::vector<std::function<void()>> jobs, std::size_t givenUp)
            : m_jobs(std::move(jobs)), m_givenUp(givenUp) {}
        std::vector<bool> Wait() override {
            std::vector<bool> ended;
            for (const auto& job : m_jobs) {
                job();
                ended.push_back(ended.size() + m_givenUp < m_jobs.size());
            }
            return ended;
        }

    private:
        std::vector<std::function<void()>> m_jobs;
        std::size_t m_givenUp;
    };

    class Client final : public HttpClient {
    public:
        explicit Client(FakePc& pc) : m_pc(pc) {}
        bool Split(const std::string& url, UrlParts& parts) override {
            m_answer = m_pc.http[url];
            parts.isHttps = url.rfind("https:", 0) == 0;
            return Passes(HttpAnswer::Split);
        }
        bool Open(const std::string&) override {
            m_pc.httpOpened = true;
            return Passes(HttpAnswer::Open);
        }
        bool Connect(const std::string&, std::uint16_t) override {
            return Passes(HttpAnswer::Connect);
        }
        bool OpenRequest(const std::string&, const std::string&, std::uint32_t flags) override {
            m_pc.requestFlags.push_back(flags);
            return Passes(HttpAnswer::OpenRequest);
        }
        bool Send(std::uint32_t& error) override {
            error = m_answer.error;
            return Passes(HttpAnswer::Send);
        }
        bool QueryStatus(std::uint32_t& status) override {
            status = m_answer.status;
            return Passes(HttpAnswer::Status);
        }
        bool Read(char*, std::uint32_t, std::uint32_t& bytesRead) override {
            bytesRead = m_answer.trickles;  // else the end of an empty body
            m_pc.microseconds += m_answer.trickles * 1000000;
            return true;
        }
        std::uint32_t TickCount() override {
            return static_cast<std::uint32_t>(m_pc.microseconds / 1000);
        }

    private:
        bool Passes(HttpAnswer::Step step) const { return m_answer.failsAt != step; }
        FakePc& m_pc;
        HttpAnswer m_answer;
    };

    // Logs what it is asked, from loading to unloading.
    class Library final : public MapiLibrary {
    public:
        Library(Mapi mapi, std::vector<std::string>& log) : m_mapi(mapi), m_log(log) {
            m_log.push_back("load");
        }
        ~Library() override { m_log.push_back("unload"); }
        std::optional<std::int32_t> Initialize(std::uint32_t, std::uint32_t) override {
            return Logged("initialize", m_mapi.initialize);
        }
        // The flags, and whether a profile name was given at all.
        std::optional<std::int32_t> LogonEx(std::uintptr_t, const char* profile, const char*,
                                            std::uint32_t flags) override {
            return Logged(profile ? "logon" : "logon default", m_mapi.logon, flags);
        }
        void Uninitialize() override { Logged("uninitialize", m_mapi.hasUninitialize); }

    private:
        template <typename Result>
        Result Logged(const char* event, Result result, std::uint32_t flags = 0) {
            if (result) m_log.push_back(flags ? event + (" " + std::to_string(flags)) : event);
            return result;
        }
        Mapi m_mapi;
        std::vector<std::string>& m_log;
    };

    template <typename Map>
    static std::optional<typename Map::mapped_type> Find(const Map& map, const std::string& key) {
        const auto found = map.find(key);
        if (found == map.end()) return std::nullopt;
        return found->second;
    }
    static std::string Path(Root root, const std::string& subkey) {
        const char* const roots[] = {"HKLM\\", "HKCR\\", "HKCU\\"};
        return roots[static_cast<int>(root)] + subkey;
    }
    static std::uint32_t Word(const std::string& text, std::size_t at) {
        std::uint32_t value;
        std::memcpy(&value, text.data() + at, 4);  // the little-endian host's order, as CPUID's
        return value;
    }

    std::function<void()> m_givenUpSession;
};
