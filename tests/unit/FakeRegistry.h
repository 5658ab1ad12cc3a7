// An in-memory registry for the probes that read through platform::RegistryReader.
// Key and value names match without regard to case, as in the real registry. Values hold
// raw data bytes; reads fail where the real API would: key or value missing, or data larger
// than the bytes the caller allows.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

class FakeRegistry final : public platform::RegistryReader {
public:
    using Root = platform::RegistryRoot;

    void AddKey(Root root, const std::string& subkey) { m_keys[KeyId(root, subkey)]; }
    // A string value as stored with its closing zero.
    void SetString(Root root, const std::string& subkey, const std::string& name,
                   const std::string& value) {
        SetData(root, subkey, name, value + std::string(1, '\0'));
    }
    void SetDword(Root root, const std::string& subkey, const std::string& name,
                  std::uint32_t value) {
        std::string data;
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        SetData(root, subkey, name, data);
    }
    // Raw data bytes of any registry type.
    void SetData(Root root, const std::string& subkey, const std::string& name,
                 const std::string& data) {
        m_keys[KeyId(root, subkey)][Lower(name)] = data;
    }

    bool KeyExists(Root root, const std::string& subkey) const override {
        m_log.push_back("key " + subkey);
        return m_keys.count(KeyId(root, subkey)) != 0;
    }
    std::optional<std::string> ReadString(Root root, const std::string& subkey,
                                          const std::string& name,
                                          std::size_t maxBytes) const override {
        m_log.push_back("string " + subkey + "\\" + name);
        const std::string* data = Find(root, subkey, name);
        if (data == nullptr || data->size() > maxBytes) return std::nullopt;
        return std::string(data->c_str());
    }
    std::optional<std::uint32_t> ReadDword(Root root, const std::string& subkey,
                                           const std::string& name) const override {
        m_log.push_back("dword " + subkey + "\\" + name);
        const std::string* data = Find(root, subkey, name);
        if (data == nullptr || data->size() > 4) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < data->size(); ++i) {
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>((*data)[i])) << (8 * i);
        }
        return value;
    }

    // Every read in order: "key <subkey>", "string <subkey>\<name>", "dword <subkey>\<name>".
    const std::vector<std::string>& Log() const { return m_log; }
    bool WasRead(const std::string& subkey) const {
        return std::any_of(m_log.begin(), m_log.end(), [&](const std::string& entry) {
            return Lower(entry).find(Lower(subkey)) != std::string::npos;
        });
    }

private:
    static std::string Lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    static std::pair<Root, std::string> KeyId(Root root, const std::string& subkey) {
        return {root, Lower(subkey)};
    }
    const std::string* Find(Root root, const std::string& subkey, const std::string& name) const {
        const auto key = m_keys.find(KeyId(root, subkey));
        if (key == m_keys.end()) return nullptr;
        const auto value = key->second.find(Lower(name));
        return value == key->second.end() ? nullptr : &value->second;
    }

    std::map<std::pair<Root, std::string>, std::map<std::string, std::string>> m_keys;
    mutable std::vector<std::string> m_log;
};
