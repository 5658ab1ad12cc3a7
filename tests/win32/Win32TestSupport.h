// State that an adapter test sets up for itself and that is removed again when it ends:
// registry keys and values, files, environment variables, the current directory.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/SystemLibraryWin32.h"
#include "platform/Win32Handles.h"

namespace win32test {

// Each set-up object undoes its state once, when it is destroyed: none is ever copied.
struct Scoped {
    Scoped() = default;
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
};

// The folder of this test program, where the fixtures are built, with a closing backslash.
inline std::string ProgramFolder() {
    char program[MAX_PATH] = {};
    std::string path(program, ::GetModuleFileNameA(nullptr, program, MAX_PATH));
    return path.erase(path.find_last_of('\\') + 1);
}

// "<program folder>\mail\<folder>\": one of the mail client fixtures.
inline std::string FixtureFolder(const std::string& folder) {
    return ProgramFolder() + "mail\\" + folder + "\\";
}

// A key path in one registry view, for one test. A key that was there already is copied
// aside first and put back as it was when the test ends; the keys of the path that the
// test created are deleted.
class TestKey : Scoped {
public:
    TestKey(HKEY root, const std::string& subkey, REGSAM view = 0)
        : m_root(root), m_view(view), m_subkey(subkey), m_aside(subkey + ".tarnvik-aside") {
        if (Open(m_subkey, KEY_READ)) {
            m_keptAside = Copy(m_subkey, m_aside);
            EXPECT_TRUE(m_keptAside) << "copying aside " << m_subkey;
            return;
        }
        // The shallowest missing key of the path: deleting it takes away all the test made.
        for (std::size_t end = 0; m_created.empty() && end <= subkey.size(); ++end) {
            end = std::min(subkey.find('\\', end), subkey.size());
            if (!Open(subkey.substr(0, end), KEY_READ)) m_created = subkey.substr(0, end);
        }
        platform::UniqueRegKey key;
        EXPECT_EQ(::RegCreateKeyExA(m_root, m_subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | m_view,
                                    nullptr, key.Receive(), nullptr),
                  ERROR_SUCCESS)
            << "RegCreateKeyExA " << m_subkey;
    }
    ~TestKey() {
        if (m_keptAside) {
            EXPECT_TRUE(Copy(m_aside, m_subkey)) << "putting back " << m_subkey;
            EXPECT_EQ(DeleteTree(m_aside), ERROR_SUCCESS);
        }
        const LONG status = m_created.empty() ? ERROR_SUCCESS : DeleteTree(m_created);
        EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << "deleting " << m_created;
    }

    // An empty name sets the key's default value.
    void SetString(const std::string& name, const std::string& value) {
        SetData(name, value + std::string(1, '\0'));
    }
    // A REG_SZ value of exactly these data bytes (which may hold zeros of their own).
    void SetData(const std::string& name, const std::string& data) { Set(name, REG_SZ, data); }
    void SetDword(const std::string& name, DWORD value) {
        Set(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
    }
    // Takes the key away, with its values and subkeys, until the test ends.
    void Remove() { EXPECT_EQ(DeleteTree(m_subkey), ERROR_SUCCESS) << "deleting " << m_subkey; }

private:
    platform::UniqueRegKey Open(const std::string& path, REGSAM access) const {
        platform::UniqueRegKey key;
        ::RegOpenKeyExA(m_root, path.c_str(), 0, access | m_view, key.Receive());
        return key;
    }
    // Makes `to` hold exactly what `from` holds. A key that exists is emptied and kept, not
    // recreated: the system keeps handles to some keys (Wine to its DLL overrides).
    bool Copy(const std::string& from, const std::string& to) const {
        const platform::UniqueRegKey source = Open(from, KEY_READ);
        platform::UniqueRegKey target;
        return source &&
               ::RegCreateKeyExA(m_root, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | m_view, nullptr,
                                 target.Receive(), nullptr) == ERROR_SUCCESS &&
               ::RegDeleteTreeA(target.Get(), nullptr) == ERROR_SUCCESS &&
               ::RegCopyTreeA(source.Get(), nullptr, target.Get()) == ERROR_SUCCESS;
    }
    LONG DeleteTree(const std::string& path) const {
        const platform::UniqueRegKey key = Open(path, KEY_ALL_ACCESS);
        if (!key) return ERROR_FILE_NOT_FOUND;
        const LONG status = ::RegDeleteTreeA(key.Get(), nullptr);
        return status != ERROR_SUCCESS ? status : ::RegDeleteKeyExA(m_root, path.c_str(), m_view, 0);
    }
    void Set(const std::string& name, DWORD type, const std::string& data) {
        const platform::UniqueRegKey key = Open(m_subkey, KEY_SET_VALUE);
        EXPECT_EQ(::RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(&data[0]),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS)
            << "RegSetValueExA " << name;
    }

    HKEY m_root;
    REGSAM m_view;
    std::string m_subkey;
    std::string m_aside;
    bool m_keptAside = false;
    std::string m_created;
};

// A copy of `source` at `target`, deleted when the test ends (unless the test did so).
class TestFile : Scoped {
public:
    TestFile(const std::string& source, const std::string& target) : m_target(target) {
        EXPECT_TRUE(::CopyFileA(source.c_str(), target.c_str(), TRUE))
            << "CopyFileA to " << target << ": " << ::GetLastError();
    }
    ~TestFile() {
        EXPECT_TRUE(::DeleteFileA(m_target.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
            << "DeleteFileA " << m_target << ": " << ::GetLastError();
    }

private:
    std::string m_target;
};

// The current directory set for one test and put back afterwards.
class WorkingDirectory : Scoped {
public:
    explicit WorkingDirectory(const std::string& path) {
        EXPECT_NE(::GetCurrentDirectoryA(MAX_PATH, m_previous), 0u);
        EXPECT_TRUE(::SetCurrentDirectoryA(path.c_str())) << "SetCurrentDirectoryA " << path;
    }
    ~WorkingDirectory() { ::SetCurrentDirectoryA(m_previous); }

private:
    char m_previous[MAX_PATH] = {};
};

// The process environment variable `name`, unset at the start and at the end of a test.
class TestEnvironmentVariable : Scoped {
public:
    explicit TestEnvironmentVariable(std::string name) : m_name(std::move(name)) { Set(nullptr); }
    ~TestEnvironmentVariable() { Set(nullptr); }

    void Set(const char* value) { ::SetEnvironmentVariableA(m_name.c_str(), value); }
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

// What the system directory's shlwapi.dll says of its own version, asked directly.
inline DLLVERSIONINFO SystemShlwapiVersion() {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    const HMODULE library = ::LoadLibraryA(platform::SystemDirectoryPath("shlwapi.dll").c_str());
    const auto dllGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(
        library ? ::GetProcAddress(library, "DllGetVersion") : nullptr));
    EXPECT_TRUE(dllGetVersion && SUCCEEDED(dllGetVersion(&info))) << "shlwapi DllGetVersion";
    if (library) ::FreeLibrary(library);
    return info;
}

}  // namespace win32test
