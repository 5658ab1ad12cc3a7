// Fakes of the seams the mail client probes read through.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "probes/mail/FileVersionSource.h"
#include "probes/mail/MailOwnerWindow.h"
#include "probes/mail/MapiLibrary.h"
#include "probes/mail/StringTableSource.h"

namespace mailfakes {

// Versions by file name; every name asked for is recorded.
class Versions final : public FileVersionSource {
public:
    void Set(const std::string& fileName, FileVersion version) { m_versions[fileName] = version; }
    FileVersion Read(const std::string& fileName) const override {
        m_asked.push_back(fileName);
        const auto it = m_versions.find(fileName);
        return it == m_versions.end() ? FileVersion() : it->second;
    }
    const std::vector<std::string>& Asked() const { return m_asked; }

private:
    std::map<std::string, FileVersion> m_versions;
    mutable std::vector<std::string> m_asked;
};

inline FileVersion Found(std::int32_t major, std::int32_t minor, std::int32_t build) {
    FileVersion v;
    v.major = major;
    v.minor = minor;
    v.build = build;
    v.found = true;
    return v;
}

// String tables by library name; the string is cut to the caller's buffer like LoadString.
class Strings final : public StringTableSource {
public:
    void Set(const std::string& libraryName, unsigned id, const std::string& value) {
        m_strings[{libraryName, id}] = value;
    }
    std::string ReadString(const std::string& libraryName, unsigned id,
                           std::size_t maxChars) const override {
        m_asked.push_back(libraryName);
        m_lastMaxChars = maxChars;
        const auto it = m_strings.find({libraryName, id});
        if (it == m_strings.end() || maxChars == 0) return std::string();
        return it->second.substr(0, maxChars - 1);
    }
    const std::vector<std::string>& Asked() const { return m_asked; }
    std::size_t LastMaxChars() const { return m_lastMaxChars; }

private:
    std::map<std::pair<std::string, unsigned>, std::string> m_strings;
    mutable std::vector<std::string> m_asked;
    mutable std::size_t m_lastMaxChars = 0;
};

// One log of everything the owner window and MAPI were asked to do, in order.
using EventLog = std::vector<std::string>;

class OwnerWindow final : public MailOwnerWindow {
public:
    explicit OwnerWindow(EventLog& log) : m_log(log) {}
    void Disable() override { m_log.push_back("owner disabled"); }
    void EnableAndFocus() override { m_log.push_back("owner enabled and focused"); }

private:
    EventLog& m_log;
};

// How the fake MAPI library behaves.
struct MapiBehaviour {
    bool loads = true;
    bool hasInitialize = true;
    bool hasUninitialize = true;
    bool hasLogonEx = true;
    std::int32_t initializeResult = 0;
    std::int32_t logonResult = 0;
};

// Stands for the session object a successful log-on delivers.
inline MapiSession FakeSession() {
    static int session;
    return &session;
}

class Mapi final : public MapiLibrary {
public:
    Mapi(const MapiBehaviour& behaviour, EventLog& log) : m_behaviour(behaviour), m_log(log) {}
    ~Mapi() override { m_log.push_back("unload"); }

    bool HasInitialize() const override { return m_behaviour.hasInitialize; }
    bool HasUninitialize() const override { return m_behaviour.hasUninitialize; }
    bool HasLogonEx() const override { return m_behaviour.hasLogonEx; }

    std::int32_t Initialize(std::uint32_t version, std::uint32_t flags) override {
        m_log.push_back(text::Format("MAPIInitialize(%u, %u)", version, flags));
        return m_behaviour.initializeResult;
    }
    std::int32_t LogonEx(std::uintptr_t parentWindow, const char* profileName,
                         const char* password, std::uint32_t flags,
                         MapiSession* session) override {
        const std::string profile =
            profileName == nullptr ? "null" : "\"" + std::string(profileName) + "\"";
        m_log.push_back(text::Format("MAPILogonEx(%lu, %s, %s, 0x%X)",
                                     static_cast<unsigned long>(parentWindow), profile.c_str(),
                                     password == nullptr ? "null" : password, flags));
        if (m_behaviour.logonResult >= 0) *session = FakeSession();
        return m_behaviour.logonResult;
    }
    void ReleaseSession(MapiSession session) override {
        m_log.push_back(session == FakeSession() ? "release session" : "release unknown session");
    }
    void Uninitialize() override { m_log.push_back("MAPIUninitialize"); }

private:
    MapiBehaviour m_behaviour;
    EventLog& m_log;
};

class MapiLoaderFake final : public MapiLoader {
public:
    explicit MapiLoaderFake(EventLog& log) : m_log(log) {}
    MapiBehaviour behaviour;

    std::unique_ptr<MapiLibrary> Load() override {
        m_log.push_back("load");
        if (!behaviour.loads) return nullptr;
        return std::make_unique<Mapi>(behaviour, m_log);
    }

private:
    EventLog& m_log;
};

}  // namespace mailfakes
