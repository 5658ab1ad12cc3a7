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
    std::map<std::string, FileVersion> byName;
    mutable std::vector<std::string> asked;

    FileVersion Read(const std::string& fileName) const override {
        asked.push_back(fileName);
        const auto it = byName.find(fileName);
        return it == byName.end() ? FileVersion() : it->second;
    }
};

// Strings by library name and id, cut to the caller's buffer like LoadString.
class Strings final : public StringTableSource {
public:
    mutable std::vector<std::string> asked;
    mutable std::size_t lastMaxChars = 0;

    void Set(const std::string& library, unsigned id, const std::string& value) {
        m_strings[{library, id}] = value;
    }
    std::string ReadString(const std::string& libraryName, unsigned id,
                           std::size_t maxChars) const override {
        asked.push_back(libraryName);
        lastMaxChars = maxChars;
        const auto it = m_strings.find({libraryName, id});
        if (it == m_strings.end() || maxChars == 0) return std::string();
        return it->second.substr(0, maxChars - 1);
    }

private:
    std::map<std::pair<std::string, unsigned>, std::string> m_strings;
};

struct MapiBehaviour {
    bool loads = true, hasInitialize = true, hasUninitialize = true, hasLogonEx = true;
    std::int32_t initializeResult = 0, logonResult = 0;
};

// The owner window and the MAPI library, logging what they are asked to do in one list.
class MapiSeams final : public MapiLoader, public MailOwnerWindow {
public:
    MapiBehaviour behaviour;
    std::vector<std::string> log;

    void Disable() override { log.push_back("owner disabled"); }
    void EnableAndFocus() override { log.push_back("owner enabled and focused"); }
    std::unique_ptr<MapiLibrary> Load() override {
        log.push_back("load");
        return behaviour.loads ? std::make_unique<Library>(behaviour, log) : nullptr;
    }

private:
    class Library final : public MapiLibrary {
    public:
        Library(const MapiBehaviour& behaviour, std::vector<std::string>& log)
            : m_behaviour(behaviour), m_log(log) {}
        ~Library() override { m_log.push_back("unload"); }
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
            if (m_behaviour.logonResult >= 0) *session = this;
            return m_behaviour.logonResult;
        }
        void ReleaseSession(MapiSession session) override {
            m_log.push_back(session == this ? "release session" : "release unknown session");
        }
        void Uninitialize() override { m_log.push_back("MAPIUninitialize"); }

    private:
        const MapiBehaviour m_behaviour;
        std::vector<std::string>& m_log;
    };
};

}  // namespace mailfakes
