#include "probes/software/EarlierInstallation.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kClientKey[] = "SOFTWARE\\Devadozededa";
const char kNoTrace[] = "Tarnvik nie je nainštalovaný.";
const char kTrace[] = "Tarnvik už je alebo bol niekedy nainštalovaný.";

// The client key with a "Root" value in one registry view, for the length of one test.
class ClientKey {
public:
    ClientKey(HKEY root, REGSAM view, const std::string& rootPath) : m_root(root), m_view(view) {
        HKEY key = nullptr;
        LONG status = ::RegCreateKeyExA(m_root, kClientKey, 0, nullptr, 0, KEY_SET_VALUE | m_view,
                                        nullptr, &key, nullptr);
        EXPECT_EQ(status, ERROR_SUCCESS) << "RegCreateKeyExA";
        if (!key) return;
        status = ::RegSetValueExA(key, "Root", 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(rootPath.c_str()),
                                  static_cast<DWORD>(rootPath.size() + 1));
        EXPECT_EQ(status, ERROR_SUCCESS) << "RegSetValueExA";
        ::RegCloseKey(key);
    }
    ClientKey(const ClientKey&) = delete;
    ClientKey& operator=(const ClientKey&) = delete;
    ~ClientKey() {
        EXPECT_EQ(::RegDeleteKeyExA(m_root, kClientKey, m_view, 0), ERROR_SUCCESS)
            << "RegDeleteKeyExA";
    }

private:
    HKEY m_root;
    REGSAM m_view;
};

void ExpectNoTrace() {
    std::string text = "sentinel";
    EXPECT_TRUE(CheckEarlierInstallation(text));
    EXPECT_EQ(text, kNoTrace);
    EXPECT_EQ(ReadClientRootPath(), "");
}

void ExpectTrace(const std::string& rootPath) {
    std::string text = "sentinel";
    EXPECT_FALSE(CheckEarlierInstallation(text));
    EXPECT_EQ(text, kTrace);
    EXPECT_EQ(ReadClientRootPath(), rootPath);
}

TEST(EarlierInstallationWin32Test, CleanMachineHasNoTrace) { ExpectNoTrace(); }

TEST(EarlierInstallationWin32Test, TraceInTheNativeView) {
    {
        ClientKey key(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "C:\\Program Files\\Tarnvik");
        ExpectTrace("C:\\Program Files\\Tarnvik");
    }
    ExpectNoTrace();
}

TEST(EarlierInstallationWin32Test, TraceWrittenByA32BitInstaller) {
    {
        ClientKey key(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "C:\\Program Files (x86)\\Tarnvik");
        ExpectTrace("C:\\Program Files (x86)\\Tarnvik");
    }
    ExpectNoTrace();
}

TEST(EarlierInstallationWin32Test, EmptyRootIsNoTrace) {
    ClientKey key(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "");
    ExpectNoTrace();
}

TEST(EarlierInstallationWin32Test, UserKeyIsNotLookedAt) {
    ClientKey key(HKEY_CURRENT_USER, 0, "C:\\Tarnvik");
    ExpectNoTrace();
}

}  // namespace
