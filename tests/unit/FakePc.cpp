#include "FakePc.h"

#include <algorithm>
#include <cstring>

namespace {

std::string Path(platform::RegistryRoot root, const std::string& subkey) {
    switch (root) {
        case platform::RegistryRoot::LocalMachine: return "HKLM\\" + subkey;
        case platform::RegistryRoot::ClassesRoot: return "HKCR\\" + subkey;
        case platform::RegistryRoot::CurrentUser: return "HKCU\\" + subkey;
    }
    return subkey;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::uint32_t Word(const std::string& text, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && at + i < text.size(); ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + i])) << (8 * i);
    }
    return value;
}

class FakeMapiLibrary final : public MapiLibrary {
public:
    FakeMapiLibrary(FakePc::Mapi mapi, std::vector<std::string>& log) : m_mapi(mapi), m_log(log) {
        m_log.push_back("load");
    }
    ~FakeMapiLibrary() override { m_log.push_back("unload"); }
    std::optional<std::int32_t> Initialize(std::uint32_t, std::uint32_t) override {
        if (m_mapi.initialize) m_log.push_back("initialize");
        return m_mapi.initialize;
    }
    std::optional<std::int32_t> LogonEx(std::uintptr_t, const char*, const char*,
                                        std::uint32_t) override {
        if (m_mapi.logon) m_log.push_back("logon");
        return m_mapi.logon;
    }
    void Uninitialize() override {
        if (m_mapi.hasUninitialize) m_log.push_back("uninitialize");
    }

private:
    FakePc::Mapi m_mapi;
    std::vector<std::string>& m_log;
};

}  // namespace

void FakePc::SetProcessor(const std::string& vendor, std::uint32_t family,
                          const std::string& brand) {
    cpuid.clear();
    const std::string id = vendor + std::string(12, '\0');
    cpuid[0] = {vendor.empty() ? 0u : 1u, Word(id, 0), Word(id, 8), Word(id, 4)};
    cpuid[1] = {family << 8, 0, 0, 0};
    cpuid[0x80000000] = {brand.empty() ? 0x80000001u : 0x80000004u, 0, 0, 0};
    const std::string padded = brand + std::string(48, '\0');
    for (std::uint32_t leaf = 0; leaf < 3; ++leaf) {
        const std::size_t at = leaf * 16;
        cpuid[0x80000002 + leaf] = {Word(padded, at), Word(padded, at + 4), Word(padded, at + 8),
                                    Word(padded, at + 12)};
    }
}

bool FakePc::KeyExists(platform::RegistryRoot root, const std::string& subkey) const {
    const std::string key = Path(root, subkey);
    return std::any_of(registry.begin(), registry.end(), [&](const auto& entry) {
        return entry.first == key || entry.first.rfind(key + "|", 0) == 0;
    });
}

std::optional<std::string> FakePc::ReadString(platform::RegistryRoot root,
                                              const std::string& subkey, const std::string& name,
                                              std::size_t maxBytes) const {
    const auto found = registry.find(Path(root, subkey) + "|" + name);
    // The stored data ends with a zero byte, which has to fit as well.
    if (found == registry.end() || found->second.size() + 1 > maxBytes) return std::nullopt;
    return found->second;
}

std::optional<std::uint32_t> FakePc::ReadDword(platform::RegistryRoot root,
                                              const std::string& subkey,
                                              const std::string& name) const {
    const auto found = dwords.find(Path(root, subkey) + "|" + name);
    if (found == dwords.end()) return std::nullopt;
    return found->second;
}

bool FakePc::QueryDllGetVersion(const std::string& fileName, ModuleVersion& version) const {
    const auto found = dllVersions.find(fileName);
    if (found == dllVersions.end()) return false;
    version.major = found->second.major;
    version.minor = found->second.minor;
    version.build = found->second.build;
    return true;
}

std::optional<std::string> FakePc::QueryFileVersionString(const std::string& path) const {
    versionPaths.push_back(path);
    const auto found = fileVersions.find(path);
    if (found == fileVersions.end()) return std::nullopt;
    return found->second;
}

std::uint32_t FakePc::ReadTimeStampLow() {
    return static_cast<std::uint32_t>(timeStampBase +
                                      static_cast<std::uint64_t>(microseconds) * cyclesPerMicrosecond);
}

std::int64_t FakePc::PerformanceCount() {
    if (!counterFrequency) return 0;
    return microseconds / 1000000 * *counterFrequency + microseconds % 1000000 * *counterFrequency / 1000000;
}

std::uint32_t FakePc::MillisecondClock() {
    microseconds += 250;  // each look at the clock takes a while
    return millisecondClockBase + static_cast<std::uint32_t>(microseconds / 1000);
}

void FakePc::SetPriorityClass(std::uint32_t value) {
    priorityClass = value;
    priorities.push_back(value);
}

bool FakePc::ServiceExists(const std::string& keyName) const {
    return std::any_of(services.begin(), services.end(),
                       [&](const std::string& name) { return Lower(name) == Lower(keyName); });
}

bool FakePc::AnyServiceNameStartsWith(const std::string& prefix) const {
    return std::any_of(services.begin(), services.end(), [&](const std::string& name) {
        return Lower(name).rfind(Lower(prefix), 0) == 0;
    });
}

bool FakePc::Split(const std::string& url, UrlParts& parts) {
    httpLog.push_back("split " + url);
    m_current = http.count(url) ? http[url] : HttpAnswer();
    m_readsLeft = m_current.bodyReads;
    parts.isHttps = url.rfind("https:", 0) == 0;
    return m_current.failsAt != HttpAnswer::Split;
}

bool FakePc::Open(const std::string& userAgent) {
    httpLog.push_back("open " + userAgent);
    return m_current.failsAt != HttpAnswer::Open;
}

bool FakePc::Connect(const std::string&, std::uint16_t) {
    return m_current.failsAt != HttpAnswer::Connect;
}

bool FakePc::OpenRequest(const std::string& verb, const std::string&, std::uint32_t flags) {
    httpLog.push_back(verb + " flags " + std::to_string(flags));
    return m_current.failsAt != HttpAnswer::OpenRequest;
}

bool FakePc::Send(std::uint32_t& error) {
    error = m_current.error;
    return m_current.failsAt != HttpAnswer::Send;
}

bool FakePc::QueryStatus(std::uint32_t& status) {
    status = m_current.status;
    return m_current.failsAt != HttpAnswer::Status;
}

bool FakePc::Read(char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    httpLog.push_back("read");
    microseconds += m_current.readMicroseconds;
    bytesRead = m_readsLeft > 0 ? std::min<std::uint32_t>(size, 100) : 0;
    if (m_readsLeft > 0) --m_readsLeft;
    std::memset(buffer, 'x', bytesRead);
    return true;
}

std::unique_ptr<MapiLibrary> FakePc::LoadMapi() {
    if (!mapi) return nullptr;
    return std::make_unique<FakeMapiLibrary>(*mapi, mapiLog);
}

std::string FakePc::ReadLibraryString(const std::string& libraryPath, unsigned id,
                                      std::size_t maxChars) const {
    const auto found = libraryStrings.find(libraryPath + "#" + std::to_string(id));
    if (found == libraryStrings.end()) return std::string();
    return found->second.substr(0, maxChars - 1);
}
