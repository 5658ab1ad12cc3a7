// Test state for the mail client adapters: registry keys, environment variables and files
// that a test sets up and that are removed again when it ends.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace mailtest {

// The folder of a fixture built under "mail" beside the test program, with a closing
// backslash: "<program folder>\mail\<folder>\".
inline std::string FixtureFolder(const std::string& folder) {
    char program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string path(program, length);
    path.erase(path.find_last_of('\\') + 1);
    return path + "mail\\" + folder + "\\";
}

// A key path created for one test in one registry view, with string values; every key of
// the path that the test created is deleted again, deepest first.
class TestKey {
public:
    TestKey(HKEY root, const std::string& subkey, REGSAM view) : m_root(root), m_view(view) {
        std::string path;
        std::size_t start = 0;
        while (start <= subkey.size()) {
            const std::size_t end = std::min(subkey.find('\\', start), subkey.size());
            path = subkey.substr(0, end);
            HKEY key = nullptr;
            DWORD disposition = 0;
            const LONG status = ::RegCreateKeyExA(m_root, path.c_str(), 0, nullptr, 0,
                                                  KEY_SET_VALUE | m_view, nullptr, &key,
                                                  &disposition);
            if (status != ERROR_SUCCESS) {
                ADD_FAILURE() << "RegCreateKeyExA " << path << ": " << status;
                return;
            }
            ::RegCloseKey(key);
            if (disposition == REG_CREATED_NEW_KEY) m_created.push_back(path);
            start = end + 1;
        }
        m_subkey = subkey;
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    ~TestKey() {
        for (auto it = m_created.rbegin(); it != m_created.rend(); ++it) {
            EXPECT_EQ(::RegDeleteKeyExA(m_root, it->c_str(), m_view, 0), ERROR_SUCCESS)
                << "RegDeleteKeyExA " << *it;
        }
    }

    // An empty name sets the key's default value.
    void SetString(const std::string& name, const std::string& value) {
        SetData(name, value + std::string(1, '\0'));
    }

    // A REG_SZ value of exactly these data bytes (which may hold zeros of their own).
    void SetData(const std::string& name, const std::string& data) {
        HKEY key = nullptr;
        LONG status = ::RegOpenKeyExA(m_root, m_subkey.c_str(), 0, KEY_SET_VALUE | m_view, &key);
        ASSERT_EQ(status, ERROR_SUCCESS) << "RegOpenKeyExA " << m_subkey;
        status = ::RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(data.data()),
                                  static_cast<DWORD>(data.size()));
        ::RegCloseKey(key);
        EXPECT_EQ(status, ERROR_SUCCESS) << "RegSetValueExA " << name;
    }

private:
    HKEY m_root;
    REGSAM m_view;
    std::string m_subkey;
    std::vector<std::string> m_created;
};

// The process environment variable `name`, unset at the start and at the end of a test.
class TestEnvironmentVariable {
public:
    explicit TestEnvironmentVariable(std::string name) : m_name(std::move(name)) {
        ::SetEnvironmentVariableA(m_name.c_str(), nullptr);
    }
    TestEnvironmentVariable(const TestEnvironmentVariable&) = delete;
    TestEnvironmentVariable& operator=(const TestEnvironmentVariable&) = delete;
    ~TestEnvironmentVariable() { ::SetEnvironmentVariableA(m_name.c_str(), nullptr); }

    void Set(const std::string& value) { ::SetEnvironmentVariableA(m_name.c_str(), value.c_str()); }
    // The value, or "(unset)" when the variable does not exist.
    std::string Get() const {
        char value[4096] = {};
        const DWORD length = ::GetEnvironmentVariableA(m_name.c_str(), value, sizeof(value));
        if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return "(unset)";
        return std::string(value, length < sizeof(value) ? length : 0);
    }

private:
    std::string m_name;
};

}  // namespace mailtest
